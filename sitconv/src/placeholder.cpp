// Placeholder until the converter stages land.

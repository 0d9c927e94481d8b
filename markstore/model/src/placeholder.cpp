// Placeholder until the symbol model lands.

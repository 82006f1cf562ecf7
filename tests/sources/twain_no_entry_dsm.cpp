int NotTheEntryPoint() { return 0; }

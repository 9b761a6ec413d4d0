// Owns the precompiled GoogleTest headers that the test programs share; it runs nothing.
int main() { return 0; }

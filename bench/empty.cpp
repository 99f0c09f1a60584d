// The bare start of a process: a program that does nothing.
int main() { return 0; }

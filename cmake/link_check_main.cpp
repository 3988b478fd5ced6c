// The link checks of cmake/link_check.cmake: the program does nothing; that it links is the check.
int main() { return 0; }

// SPDX-License-Identifier: MIT
// hold-file PATH MILLISECONDS: opens PATH without sharing it, as an indexer
// or a virus scanner may, prints "held" and keeps it open that long.
#include <windows.h>

#include <cstdio>
#include <cstdlib>

int main(int argc, char** argv) {
    if (argc != 3)
        return 2;
    HANDLE file = CreateFileA(argv[1], GENERIC_READ, 0, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return 1;
    std::puts("held");
    std::fflush(stdout);
    Sleep(DWORD(std::atoi(argv[2])));
    CloseHandle(file);
    return 0;
}

#include <iostream>

#include "LookupCommand.h"

#ifdef _WIN32
#include <windows.h>

int wmain(int argc, wchar_t** argv) {
  SetConsoleOutputCP(CP_UTF8);
  wchar_t path[MAX_PATH * 4];
  const DWORD length = GetModuleFileNameW(nullptr, path, static_cast<DWORD>(std::size(path)));
  parlivo::String16 folder(path, length);
  folder.erase(folder.find_last_of(L"\\:") + 1);
  std::vector<parlivo::String16> args(argv + 1, argv + argc);
  return parlivo::RunLookup(args, folder, std::cout, std::cerr);
}
#else
#include <filesystem>

int main(int argc, char** argv) {
  std::error_code error;
  const auto program = std::filesystem::read_symlink("/proc/self/exe", error);
  const parlivo::String16 folder =
      error ? parlivo::String16() : parlivo::FromUtf8(program.parent_path().string());
  std::vector<parlivo::String16> args;
  for (int i = 1; i < argc; ++i) args.push_back(parlivo::FromUtf8(argv[i]));
  return parlivo::RunLookup(args, folder, std::cout, std::cerr);
}
#endif

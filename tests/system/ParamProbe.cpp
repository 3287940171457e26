// Started by the GetParameters test under a chosen command line: writes what GetParameters
// found to standard output as the program path, a zero byte, and the parameter.
#include "system/FilesUt.h"

int main() {
  std::string program, parameter;
  GetParameters(program, parameter);
  const std::string report = program + '\0' + parameter;
  DWORD written = 0;
  return WriteFile(GetStdHandle(STD_OUTPUT_HANDLE), report.data(),
                   static_cast<DWORD>(report.size()), &written, nullptr) &&
                 written == report.size()
             ? 0
             : 1;
}

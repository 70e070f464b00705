// CCustomCommandLineInfo::AddFilesFromDirectory: the directory scan of the console run.
#include <string>
#include <string_view>

#include "cli/ArgumentText.h"
#include "cli/ConsoleMessages.h"
#include "cli/CustomCommandLineInfo.h"
#include "engine/WideChar.h"
#include "project/DirectoryWalk.h"

namespace tw {

bool CCustomCommandLineInfo::AddFilesFromDirectory(std::u16string_view path, bool withSubfolders,
                                                   std::ostream& errors) {
    if (extensions.empty()) {
        return false;
    }
    std::string start = diskBytes(path);
    if (!start.empty() && start.back() != '/') {
        start += '/';
    }
    walkDirectory(start, withSubfolders,
                  [this](const std::string& directory, const std::string& name) {
                      const std::size_t dot = name.rfind('.');
                      if (dot == std::string::npos) {
                          return;
                      }
                      std::u16string extension = argumentText(std::string_view(name).substr(dot));
                      for (char16_t& unit : extension) {
                          unit = toLowerUnit(unit);
                      }
                      for (const std::u16string& wanted : extensions) {
                          if (wanted == extension) {
                              files.push_back(argumentText(directory + name));
                              break;
                          }
                      }
                  },
                  {},
                  [&errors](std::string directory, int error) {
                      if (directory.size() > 1 && directory.back() == '/') {
                          directory.pop_back();
                      }
                      printWarning(errors, "cannot read directory " + quoted(directory) + ": " +
                                               systemReason(error) + "; passed over");
                  });
    return true;
}

}  // namespace tw

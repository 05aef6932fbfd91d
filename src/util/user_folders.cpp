#include "util/user_folders.h"

#include <cstdlib>

namespace zelt {

std::optional<std::filesystem::path> UserDataFolder() {
  namespace fs = std::filesystem;
  const char* data_home = std::getenv("XDG_DATA_HOME");
  if (data_home && fs::path(data_home).is_absolute()) return fs::path(data_home) / "zelt507k";
  const char* home = std::getenv("HOME");
  if (!home || !fs::path(home).is_absolute()) return std::nullopt;
  return fs::path(home) / ".local" / "share" / "zelt507k";
}

}  // namespace zelt

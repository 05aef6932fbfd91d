#pragma once
// Per-user folders of the program.

#include <filesystem>
#include <optional>

namespace zelt {

// $XDG_DATA_HOME/zelt507k, or $HOME/.local/share/zelt507k when XDG_DATA_HOME is unset or not
// absolute. Nothing when neither variable helps. The folder is not created here.
std::optional<std::filesystem::path> UserDataFolder();

}  // namespace zelt

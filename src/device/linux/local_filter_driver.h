#pragma once
// A stand-in for the companion filter driver, for systems that have no such kernel component.
// The driver memory of each driver id lives in a file of one folder:
//   <folder>/driver-XXXX.bin     XXXX = the driver id, four upper-case hexadecimal digits
// Every such file is one driver interface. Its path is a synthetic string carrying XXXX at
// positions 55 to 58 (counting from 1), so DriverIdFromPath finds the id in it as it would in a
// real interface path.
//
// The two requests behave as the driver's:
//   read  (kDriverReadRequest)   `length` bytes from `address` are put right after the header of
//                                the in/out buffer; bytes beyond the end of the file read as 0.
//   write (kDriverWriteRequest)  the bytes after the header are stored at `address`, growing the
//                                file with zeros when it is shorter.
// A request fails, touching nothing, when its header does not describe its buffer exactly, when
// address + length reaches past kMaxDriverMemory, or when the file is gone.
//
// Each write replaces the file atomically (a temporary file renamed over it), under an exclusive
// lock on the folder so that two programs writing at once do not lose each other's bytes. The
// memory is small and written a few times per apply, so rewriting it whole costs little and a
// crash never leaves a half-written section behind.

#include <cstdint>
#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "device/filter_driver.h"

namespace zelt {

class LocalFilterDriver final : public FilterDriverTransport {
 public:
  explicit LocalFilterDriver(std::filesystem::path folder);

  // The per-user folder: $XDG_DATA_HOME/zelt507k/driver, or $HOME/.local/share/zelt507k/driver
  // when XDG_DATA_HOME is unset or not absolute. Nothing when neither variable helps.
  static std::optional<std::filesystem::path> DefaultFolder();

  // The interface path of a driver id (what Enumerate lists for its file).
  static std::string InterfacePath(std::uint16_t driver_id);

  // One path per memory file, in order of driver id. Empty when the folder does not exist (no
  // driver installed); nothing when it cannot be read.
  std::optional<std::vector<std::string>> Enumerate() override;
  // Null unless `path` is an interface path whose memory file exists.
  std::unique_ptr<DriverHandle> Open(const std::string& path) override;

  // Installs a memory for the mouse's driver id, as a system driver would be present.
  void Prepare(std::uint16_t driver_id) override { Install(driver_id); }

  // Creates an empty memory file for `driver_id` (and the folder) unless one exists; an existing
  // memory is kept as it is.
  bool Install(std::uint16_t driver_id, std::string* error = nullptr);

  const std::filesystem::path& folder() const { return folder_; }

 private:
  std::filesystem::path folder_;
};

}  // namespace zelt

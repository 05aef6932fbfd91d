#pragma once
// Whole-file reads and atomic replacement of files the user owns.

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <optional>
#include <span>
#include <string>
#include <vector>

namespace zelt {

// Reads at most `max_bytes` from the start of the file. On failure returns nothing and, when
// `error` is given, a text naming the file and the system error.
std::optional<std::vector<std::uint8_t>> ReadFileBytes(const std::filesystem::path& path,
                                                       std::size_t max_bytes,
                                                       std::string* error = nullptr);

// Writes the bytes to a temporary file in the same folder, flushes it to disk and renames it over
// `path`, so a crash leaves either the old file or the new one, never half of one.
bool WriteFileAtomic(const std::filesystem::path& path, std::span<const std::uint8_t> bytes,
                     std::string* error = nullptr);

}  // namespace zelt

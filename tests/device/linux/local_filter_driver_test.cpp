#include "device/linux/local_filter_driver.h"

#include <gtest/gtest.h>
#include <stdlib.h>

#include <fstream>
#include <thread>

#include "device/clock.h"
#include "device/device_link.h"
#include "device/driver_memory.h"
#include "device/linux/scratch_folder.h"
#include "util/file_io.h"

namespace zelt {
namespace {

namespace fs = std::filesystem;

using Bytes = std::vector<std::uint8_t>;

class NoHidTransport final : public HidTransport {
 public:
  std::optional<std::vector<HidInterfaceInfo>> Enumerate() override {
    return std::vector<HidInterfaceInfo>{};
  }
  std::unique_ptr<HidDevice> Open(const std::string&) override { return nullptr; }
  const std::string& last_error() const override { return error_; }

 private:
  std::string error_;
};

Bytes ReadAll(const fs::path& file) { return ReadFileBytes(file, 1 << 22).value_or(Bytes{}); }

class LocalFilterDriverTest : public ::testing::Test {
 protected:
  fs::path folder() const { return scratch_.path() / "driver"; }

  ScratchFolder scratch_;
  LocalFilterDriver driver_{scratch_.path() / "driver"};
};

TEST_F(LocalFilterDriverTest, ListsOneInterfaceCarryingItsIdPerMemoryFile) {
  auto none = driver_.Enumerate();
  ASSERT_TRUE(none);  // no folder yet: no driver installed
  EXPECT_TRUE(none->empty());

  ASSERT_TRUE(driver_.Install(0x1A2B));
  ASSERT_TRUE(driver_.Install(0x00FF));
  // Names that are not memory files of the canonical form are not interfaces.
  std::ofstream(folder() / "driver-1a2b.bin");
  std::ofstream(folder() / "driver-12345.bin");
  std::ofstream(folder() / "notes.txt");
  fs::create_directories(folder() / "driver-0001.bin");

  auto paths = driver_.Enumerate();
  ASSERT_TRUE(paths);
  ASSERT_EQ(paths->size(), 2u);
  EXPECT_EQ(DriverIdFromPath((*paths)[0]), 0x00FF);
  EXPECT_EQ(DriverIdFromPath((*paths)[1]), 0x1A2B);
  EXPECT_EQ((*paths)[1], LocalFilterDriver::InterfacePath(0x1A2B));
  EXPECT_EQ(fs::file_size(folder() / "driver-1A2B.bin"), 0u);
}

TEST_F(LocalFilterDriverTest, InstallKeepsAnExistingMemory) {
  ASSERT_TRUE(driver_.Install(0x0042));
  ASSERT_TRUE(WriteFileAtomic(folder() / "driver-0042.bin", Bytes{1, 2, 3}));
  ASSERT_TRUE(driver_.Install(0x0042));
  EXPECT_EQ(ReadAll(folder() / "driver-0042.bin"), (Bytes{1, 2, 3}));

  // A folder that cannot be made is reported.
  std::ofstream(scratch_.path() / "blocker");
  LocalFilterDriver blocked(scratch_.path() / "blocker" / "driver");
  std::string error;
  EXPECT_FALSE(blocked.Install(0x0042, &error));
  EXPECT_NE(error.find("blocker"), std::string::npos) << error;
}

TEST_F(LocalFilterDriverTest, CannotListAFolderThatIsNotOne) {
  std::ofstream(folder()) << "x";
  EXPECT_EQ(driver_.Enumerate(), std::nullopt);
}

TEST_F(LocalFilterDriverTest, OpensOnlyPathsOfInstalledIds) {
  ASSERT_TRUE(driver_.Install(0xBEEF));
  const std::string path = LocalFilterDriver::InterfacePath(0xBEEF);
  EXPECT_NE(driver_.Open(path), nullptr);
  std::string lower = path;
  lower.replace(54, 4, "beef");
  const std::vector<std::string> refused = {
      LocalFilterDriver::InterfacePath(0xBEEE),  // not installed
      lower,                                     // not the canonical spelling
      path + "0",
      path.substr(0, 57),
      "x" + path.substr(1),
      "",
  };
  for (const auto& bad : refused) EXPECT_EQ(driver_.Open(bad), nullptr) << bad;
}

TEST_F(LocalFilterDriverTest, ServesTheExchangeLayerThroughTheTwoRequests) {
  NoHidTransport hid;
  SteadyClock clock;
  DeviceLink link(hid, &driver_, clock);
  // The stand-in installs a memory for the id the mouse names, as an installed driver is there.
  ASSERT_TRUE(link.OpenDriverDevice(0x5A01));
  EXPECT_TRUE(std::filesystem::exists(folder() / "driver-5A01.bin"));
  DriverHandle& handle = *link.driver();

  Bytes section_a(48);
  for (std::size_t i = 0; i < section_a.size(); ++i)
    section_a[i] = static_cast<std::uint8_t>(i + 1);
  DriverWrite(handle, 0x000, section_a);
  DriverWrite(handle, 0x0F0, Bytes{0, 0, 0xAB, 0xCD});

  Bytes read_back(48);
  DriverRead(handle, 0x000, read_back);
  EXPECT_EQ(read_back, section_a);
  // Bytes never written, inside the file or past its end, read as zeros.
  Bytes around_fire_key(20, 0xEE);
  DriverRead(handle, 0x0E8, around_fire_key);
  Bytes expected(20, 0);
  expected[10] = 0xAB;
  expected[11] = 0xCD;
  EXPECT_EQ(around_fire_key, expected);
  EXPECT_EQ(fs::file_size(folder() / "driver-5A01.bin"), 0x0F4u);

  // A profile save reads far past the stored bytes.
  Bytes whole(40960, 0xEE);
  DriverRead(handle, 0, whole);
  EXPECT_TRUE(std::equal(section_a.begin(), section_a.end(), whole.begin()));
  EXPECT_TRUE(std::all_of(whole.begin() + 0x0F4, whole.end(), [](auto b) { return b == 0; }));
}

TEST_F(LocalFilterDriverTest, RefusesRequestsThatDoNotDescribeTheirBufferTouchingNothing) {
  ASSERT_TRUE(driver_.Install(0x0001));
  auto handle = driver_.Open(LocalFilterDriver::InterfacePath(0x0001));
  ASSERT_NE(handle, nullptr);
  const Bytes stored{9, 8, 7, 6};
  ASSERT_TRUE(WriteFileAtomic(folder() / "driver-0001.bin", stored));

  auto request = [](std::uint32_t address, std::uint32_t length, std::size_t data_size) {
    Bytes buffer = DriverRequestHeader(address, length);
    buffer.resize(kDriverHeaderSize + data_size, 0x77);
    return buffer;
  };
  const std::vector<std::pair<const char*, Bytes>> cases = {
      {"shorter than a header", Bytes(7, 0)},
      {"length larger than the data", request(0, 10, 5)},
      {"length smaller than the data", request(0, 2, 5)},
      {"reaches past the memory limit", request(kMaxDriverMemory - 2, 4, 4)},
      {"address wraps around", request(0xFFFFFFFE, 4, 4)},
  };
  for (const auto& [name, buffer] : cases) {
    Bytes in_out = buffer;
    EXPECT_FALSE(handle->Control(kDriverReadRequest, in_out, in_out)) << name;
    EXPECT_EQ(in_out, buffer) << name;
    EXPECT_FALSE(handle->Control(kDriverWriteRequest, in_out, {})) << name;
  }
  Bytes read = request(0, 4, 4);
  Bytes short_output(8);
  EXPECT_FALSE(handle->Control(kDriverReadRequest, read, short_output));
  EXPECT_FALSE(handle->Control(0x223E0C, read, read));  // no such request
  EXPECT_EQ(read, request(0, 4, 4));
  EXPECT_EQ(ReadAll(folder() / "driver-0001.bin"), stored);

  // The last byte below the limit is still memory.
  Bytes last = request(kMaxDriverMemory - 1, 1, 1);
  EXPECT_TRUE(handle->Control(kDriverWriteRequest, last, {}));
  EXPECT_EQ(fs::file_size(folder() / "driver-0001.bin"), kMaxDriverMemory);
}

TEST_F(LocalFilterDriverTest, FailsOnceTheMemoryFileIsGoneWithoutRecreatingIt) {
  ASSERT_TRUE(driver_.Install(0x0002));
  auto handle = driver_.Open(LocalFilterDriver::InterfacePath(0x0002));
  ASSERT_NE(handle, nullptr);
  fs::remove(folder() / "driver-0002.bin");
  Bytes write = DriverRequestHeader(0, 1);
  write.push_back(0x11);
  EXPECT_FALSE(handle->Control(kDriverWriteRequest, write, {}));
  Bytes read = DriverRequestHeader(0, 1);
  read.push_back(0x55);
  EXPECT_FALSE(handle->Control(kDriverReadRequest, read, read));
  EXPECT_EQ(read.back(), 0x55);
  EXPECT_FALSE(fs::exists(folder() / "driver-0002.bin"));
}

TEST_F(LocalFilterDriverTest, WritesFromTwoHandlesAtOnceAreAllKept) {
  ASSERT_TRUE(driver_.Install(0x0003));
  auto writer = [&](std::uint32_t first) {
    auto handle = driver_.Open(LocalFilterDriver::InterfacePath(0x0003));
    for (std::uint32_t address = first; address < 40; address += 2) {
      DriverWrite(*handle, address, Bytes{static_cast<std::uint8_t>(address + 1)});
    }
  };
  std::thread even(writer, 0), odd(writer, 1);
  even.join();
  odd.join();
  Bytes expected(40);
  for (std::size_t i = 0; i < expected.size(); ++i) expected[i] = static_cast<std::uint8_t>(i + 1);
  EXPECT_EQ(ReadAll(folder() / "driver-0003.bin"), expected);
}

class ScopedEnv {
 public:
  ScopedEnv(const char* name, const char* value) : name_(name) {
    if (const char* old = std::getenv(name)) old_ = old;
    if (value) {
      ::setenv(name, value, 1);
    } else {
      ::unsetenv(name);
    }
  }
  ~ScopedEnv() {
    if (old_) {
      ::setenv(name_, old_->c_str(), 1);
    } else {
      ::unsetenv(name_);
    }
  }

 private:
  const char* name_;
  std::optional<std::string> old_;
};

TEST(LocalFilterDriverFolder, FollowsTheUserDataFolder) {
  struct Case {
    const char* data_home;
    const char* home;
    std::optional<fs::path> expected;
  };
  const Case cases[] = {
      {"/data", "/home/ann", fs::path("/data/zelt507k/driver")},
      {nullptr, "/home/ann", fs::path("/home/ann/.local/share/zelt507k/driver")},
      {"relative/data", "/home/ann", fs::path("/home/ann/.local/share/zelt507k/driver")},
      {"", "/home/ann", fs::path("/home/ann/.local/share/zelt507k/driver")},
      {nullptr, nullptr, std::nullopt},
  };
  for (const auto& c : cases) {
    ScopedEnv data_home("XDG_DATA_HOME", c.data_home);
    ScopedEnv home("HOME", c.home);
    EXPECT_EQ(LocalFilterDriver::DefaultFolder(), c.expected)
        << (c.data_home ? c.data_home : "(unset)") << " " << (c.home ? c.home : "(unset)");
  }
}

}  // namespace
}  // namespace zelt

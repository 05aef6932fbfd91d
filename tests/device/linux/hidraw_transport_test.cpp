#include "device/linux/hidraw_transport.h"

#include <gtest/gtest.h>

#include <array>
#include <fstream>
#include <vector>

#include "device/linux/scratch_folder.h"

namespace zelt {
namespace {

namespace fs = std::filesystem;

using Bytes = std::vector<std::uint8_t>;

// Mouse report 1 plus vendor feature report 4 of 7 bytes: feature length 8.
const Bytes kMouseDescriptor = {
    0x05, 0x01, 0x09, 0x02, 0xA1, 0x01, 0x85, 0x01, 0x05, 0x09, 0x19, 0x01, 0x29, 0x05, 0x15, 0x00,
    0x25, 0x01, 0x95, 0x05, 0x75, 0x01, 0x81, 0x02, 0x95, 0x01, 0x75, 0x03, 0x81, 0x01, 0x05, 0x01,
    0x09, 0x30, 0x09, 0x31, 0x15, 0x81, 0x25, 0x7F, 0x75, 0x08, 0x95, 0x02, 0x81, 0x06, 0xC0, 0x06,
    0x00, 0xFF, 0x09, 0x01, 0xA1, 0x01, 0x85, 0x04, 0x75, 0x08, 0x95, 0x07, 0xB1, 0x02, 0xC0,
};
// A keyboard-style descriptor with no feature report.
const Bytes kNoFeatureDescriptor = {0x05, 0x01, 0x09, 0x06, 0xA1, 0x01, 0x75,
                                    0x08, 0x95, 0x08, 0x81, 0x02, 0xC0};

// A small sysfs tree in a scratch folder, laid out as the kernel lays it out: the class entries
// and each node's `device` are symbolic links into devices/.
class SysfsTree {
 public:
  explicit SysfsTree(fs::path root) : root_(std::move(root)) {}

  void Write(const fs::path& relative, std::string_view text) {
    Bytes bytes(text.begin(), text.end());
    WriteBytes(relative, bytes);
  }
  void WriteBytes(const fs::path& relative, const Bytes& bytes) {
    fs::create_directories((root_ / relative).parent_path());
    std::ofstream(root_ / relative, std::ios::binary)
        .write(reinterpret_cast<const char*>(bytes.data()),
               static_cast<std::streamsize>(bytes.size()));
  }
  void UsbDevice(const fs::path& relative, std::string_view vendor, std::string_view product,
                 std::string_view release) {
    Write(relative / "idVendor", std::string(vendor) + "\n");
    Write(relative / "idProduct", std::string(product) + "\n");
    Write(relative / "bcdDevice", std::string(release) + "\n");
  }
  void HidDevice(const fs::path& relative, std::string_view hid_id, const Bytes& descriptor) {
    Write(relative / "uevent",
          "DRIVER=hid-generic\nHID_ID=" + std::string(hid_id) + "\nHID_NAME=Test\nHID_UNIQ=\n");
    WriteBytes(relative / "report_descriptor", descriptor);
  }
  // A hidraw node below the HID device at `hid_relative`, listed in class/hidraw.
  void Hidraw(const std::string& name, const fs::path& hid_relative) {
    const fs::path node = hid_relative / "hidraw" / name;
    fs::create_directories(root_ / node);
    fs::create_symlink("../..", root_ / node / "device");
    fs::create_directories(root_ / "class" / "hidraw");
    fs::create_symlink(fs::path("../..") / node, root_ / "class" / "hidraw" / name);
  }

 private:
  fs::path root_;
};

class HidrawTransportTest : public ::testing::Test {
 protected:
  void SetUp() override { fs::create_directories(scratch_.path() / "class"); }

  std::vector<HidInterfaceInfo> EnumerateOrFail() {
    HidrawTransport transport(scratch_.path(), "/dev");
    auto list = transport.Enumerate();
    EXPECT_TRUE(list) << transport.last_error();
    return list.value_or(std::vector<HidInterfaceInfo>{});
  }

  ScratchFolder scratch_;
  SysfsTree tree_{scratch_.path()};
};

const fs::path kUsbDevice = "devices/pci0000:00/0000:00:14.0/usb1/1-2";
const fs::path kUsbHid = kUsbDevice / "1-2:1.1/0003:2E7A:08A0.0002";

TEST_F(HidrawTransportTest, ReadsIdsAndReleaseFromTheUsbParentAndLengthFromTheDescriptor) {
  tree_.UsbDevice(kUsbDevice, "2e7a", "08a0", "0104");
  tree_.Write(kUsbDevice / "1-2:1.1/bInterfaceNumber", "01\n");
  tree_.HidDevice(kUsbHid, "0003:00002E7A:000008A0", kMouseDescriptor);
  // The input node's version differs: the USB release number wins.
  tree_.Write(kUsbHid / "input/input9/id/version", "0111\n");
  tree_.Hidraw("hidraw3", kUsbHid);

  auto list = EnumerateOrFail();
  ASSERT_EQ(list.size(), 1u);
  EXPECT_EQ(list[0].path, "/dev/hidraw3");
  EXPECT_EQ(list[0].vendor_id, 0x2E7A);
  EXPECT_EQ(list[0].product_id, 0x08A0);
  EXPECT_EQ(list[0].version, 0x0104);
  EXPECT_EQ(list[0].feature_length, 8);
}

TEST_F(HidrawTransportTest, TakesTheInputNodeVersionWhenThereIsNoUsbParent) {
  // A device created through uhid: USB bus in its id, but no USB device above it.
  const fs::path hid = "devices/virtual/misc/uhid/0003:2E7A:08A0.0005";
  tree_.HidDevice(hid, "0003:00002E7A:000008A0", kMouseDescriptor);
  tree_.Write(hid / "input/input12/id/version", "0104\n");
  tree_.Hidraw("hidraw0", hid);

  auto list = EnumerateOrFail();
  ASSERT_EQ(list.size(), 1u);
  EXPECT_EQ(list[0].vendor_id, 0x2E7A);
  EXPECT_EQ(list[0].product_id, 0x08A0);
  EXPECT_EQ(list[0].version, 0x0104);
  EXPECT_EQ(list[0].feature_length, 8);
}

TEST_F(HidrawTransportTest, IgnoresTheUsbAdapterAboveABluetoothDevice) {
  const fs::path adapter = "devices/pci0000:00/0000:00:14.0/usb1/1-5";
  tree_.UsbDevice(adapter, "8087", "0a2b", "0001");
  const fs::path hid = adapter / "1-5:1.0/bluetooth/hci0/hci0:256/0005:046D:B016.0004";
  tree_.HidDevice(hid, "0005:0000046D:0000B016", kNoFeatureDescriptor);
  tree_.Write(hid / "input/input20/id/version", "0032\n");
  tree_.Hidraw("hidraw1", hid);

  auto list = EnumerateOrFail();
  ASSERT_EQ(list.size(), 1u);
  EXPECT_EQ(list[0].vendor_id, 0x046D);
  EXPECT_EQ(list[0].product_id, 0xB016);
  EXPECT_EQ(list[0].version, 0x0032);
  EXPECT_EQ(list[0].feature_length, 0);
}

TEST_F(HidrawTransportTest, ListsUnreadableInterfacesWithZerosInNumericOrder) {
  // hidraw10: fine. hidraw2: its HID device lost its descriptor and has a garbled uevent.
  // hidraw7: its device link leads nowhere. "hidrawx" and "other" are not nodes.
  tree_.UsbDevice(kUsbDevice, "2e7a", "08a0", "0104");
  tree_.HidDevice(kUsbHid, "0003:00002E7A:000008A0", kMouseDescriptor);
  tree_.Hidraw("hidraw10", kUsbHid);
  const fs::path broken = "devices/virtual/misc/uhid/0003:1234:5678.0009";
  tree_.Write(broken / "uevent", "HID_ID=zz\n");
  tree_.Hidraw("hidraw2", broken);
  fs::create_symlink("../../devices/gone/hidraw/hidraw7", scratch_.path() / "class/hidraw/hidraw7");
  fs::create_directories(scratch_.path() / "class/hidraw/hidrawx");
  fs::create_directories(scratch_.path() / "class/hidraw/other");

  auto list = EnumerateOrFail();
  ASSERT_EQ(list.size(), 3u);
  EXPECT_EQ(list[0].path, "/dev/hidraw2");
  EXPECT_EQ(list[1].path, "/dev/hidraw7");
  EXPECT_EQ(list[2].path, "/dev/hidraw10");
  for (int i : {0, 1}) {
    EXPECT_EQ(list[i].vendor_id, 0) << i;
    EXPECT_EQ(list[i].product_id, 0) << i;
    EXPECT_EQ(list[i].version, 0) << i;
    EXPECT_EQ(list[i].feature_length, 0) << i;
  }
  EXPECT_EQ(list[2].feature_length, 8);
}

TEST_F(HidrawTransportTest, AMachineWithoutHidrawNodesHasAnEmptyList) {
  EXPECT_TRUE(EnumerateOrFail().empty());  // no class folder at all
  fs::create_directories(scratch_.path() / "class/hidraw");
  EXPECT_TRUE(EnumerateOrFail().empty());  // an empty one
}

TEST_F(HidrawTransportTest, CannotListWithoutSysfs) {
  HidrawTransport transport(scratch_.path() / "missing");
  EXPECT_EQ(transport.Enumerate(), std::nullopt);
  EXPECT_NE(transport.last_error().find("missing"), std::string::npos) << transport.last_error();

  // A class folder that cannot be read as a folder.
  tree_.Write("class/hidraw", "not a folder");
  HidrawTransport unreadable(scratch_.path());
  EXPECT_EQ(unreadable.Enumerate(), std::nullopt);
  EXPECT_NE(unreadable.last_error().find("opendir"), std::string::npos) << unreadable.last_error();
}

TEST(HidrawTransport, EnumeratesThisMachineWithoutFailing) {
  HidrawTransport transport;
  auto list = transport.Enumerate();
  ASSERT_TRUE(list) << transport.last_error();
  for (const auto& info : *list) EXPECT_TRUE(info.path.starts_with("/dev/hidraw")) << info.path;
}

int OpenDescriptorCount() {
  int count = 0;
  for ([[maybe_unused]] const auto& entry : fs::directory_iterator("/proc/self/fd")) ++count;
  return count;
}

TEST(HidrawTransport, NamesTheFailedCallAndItsError) {
  HidrawTransport transport;
  EXPECT_EQ(transport.Open("/nonexistent/hidraw9"), nullptr);
  EXPECT_EQ(transport.last_error(), "open /nonexistent/hidraw9: No such file or directory");

  // A file that is not a hidraw node opens, but refuses the feature requests.
  ScratchFolder scratch;
  const fs::path file = scratch.path() / "hidraw0";
  std::ofstream(file) << "x";
  const int descriptors_before = OpenDescriptorCount();
  {
    auto device = transport.Open(file.string());
    ASSERT_NE(device, nullptr) << transport.last_error();
    EXPECT_EQ(transport.last_error(), "");
    std::array<std::uint8_t, 8> report{4, 3, 0, 0, 0, 0, 0, 0};
    EXPECT_FALSE(device->SetFeature(report));
    EXPECT_EQ(device->last_error(),
              "ioctl(HIDIOCSFEATURE) " + file.string() + ": Inappropriate ioctl for device");
    EXPECT_FALSE(device->GetFeature(report));
    EXPECT_EQ(device->last_error(),
              "ioctl(HIDIOCGFEATURE) " + file.string() + ": Inappropriate ioctl for device");
    // Lengths the request number cannot carry are refused before reaching the kernel.
    std::vector<std::uint8_t> huge(4097);
    EXPECT_FALSE(device->GetFeature(huge));
    EXPECT_NE(device->last_error().find("length 4097"), std::string::npos);
    EXPECT_FALSE(device->SetFeature({}));
    EXPECT_NE(device->last_error().find("length 0"), std::string::npos);
    EXPECT_EQ(OpenDescriptorCount(), descriptors_before + 1);
  }
  EXPECT_EQ(OpenDescriptorCount(), descriptors_before);  // closed when destroyed
}

}  // namespace
}  // namespace zelt

// libFuzzer entry for the sysfs reader on recorded trees: the input builds a tree of one or two
// USB drives and then turns attributes into odd things (a FIFO, a link to itself, a link out of
// the tree, a link to another attribute, a folder, a file larger than a page, raw bytes). The
// listing must come back without hanging or throwing, every printed text must be free of
// control characters, and the JSON written must parse back as valid UTF-8.

#include <sys/stat.h>
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <sstream>
#include <string>
#include <vector>

#include "drive/drive_report.h"
#include "drive/sysfs_drives.h"
#include "fake_sysfs.h"
#include "platform/json/json_check.h"
#include "platform/json/json_writer.h"

namespace {

namespace fs = std::filesystem;

// Made once, and never destroyed, so that the exit handler below can still name it.
const fs::path& scratch() {
    static const fs::path* const folder = [] {
        std::string pattern = (fs::temp_directory_path() / "norvessa-sysfs-fuzz-XXXXXX").string();
        if (::mkdtemp(pattern.data()) == nullptr) {
            std::abort();
        }
        return new fs::path(pattern);
    }();
    static const bool removedAtExit = [] {
        // The scratch folder goes when the process ends normally.
        return std::atexit([] {
                   std::error_code error;
                   fs::remove_all(*folder, error);
               }) == 0;
    }();
    (void)removedAtExit;
    return *folder;
}

class Input {
  public:
    Input(const std::uint8_t* data, std::size_t size) : data_(data), size_(size) {}
    bool empty() const { return position_ >= size_; }
    std::uint8_t byte() { return position_ < size_ ? data_[position_++] : 0; }
    std::string text(std::size_t most) {
        const std::size_t length =
            std::min<std::size_t>(byte() % (most + 1), size_ - std::min(size_, position_));
        std::string out(reinterpret_cast<const char*>(data_ + position_), length);
        position_ += length;
        return out;
    }

  private:
    const std::uint8_t* data_;
    std::size_t size_;
    std::size_t position_ = 0;
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace norvessa::drive;
    const fs::path root = scratch() / "tree";
    std::error_code ignored;
    fs::remove_all(root, ignored);
    // The tree goes after each input too, so that a run ended by the fuzzer leaves little.
    struct RemoveTree {
        const fs::path& root;
        ~RemoveTree() {
            std::error_code error;
            fs::remove_all(root, error);
        }
    } removeTree{root};
    Input input(data, size);

    testing::FakeDrive drive;
    drive.usb = {
        {"idVendor", input.text(6)}, {"idProduct", input.text(6)}, {"manufacturer", input.text(24)},
        {"product", input.text(24)}, {"serial", input.text(24)},   {"bcdDevice", input.text(6)},
        {"version", input.text(6)},  {"speed", input.text(6)},     {"bMaxPower", input.text(8)}};
    drive.interface = {{"bInterfaceClass", "08"}, {"bInterfaceProtocol", input.text(4)}};
    drive.scsi = {{"vendor", input.text(8)}, {"model", input.text(16)}, {"rev", input.text(4)}};
    drive.disk = {{"size", input.text(12)}, {"removable", input.text(2)}};
    drive.blockDev = input.text(6);
    drive.sgDev = input.text(6);
    const std::string inquiry = input.text(64);
    drive.inquiry.assign(inquiry.begin(), inquiry.end());
    testing::addFakeDrive(root, drive);
    if (input.byte() % 2 == 1) {
        testing::FakeDrive second = drive;
        second.block = "sdc";
        second.sg = "sg1";
        second.lun = 1;
        testing::addFakeDrive(root, second);
    }

    const fs::path usbDevice = root / "devices/pci0000:00/0000:00:14.0/usb1/1-1";
    const fs::path scsi = usbDevice / "1-1:1.0/host0/target0:0:0/0:0:0:0";
    const std::vector<fs::path> attributes = {usbDevice / "idVendor",
                                              usbDevice / "product",
                                              usbDevice / "serial",
                                              usbDevice / "bcdDevice",
                                              usbDevice / "version",
                                              scsi / "vendor",
                                              scsi / "model",
                                              scsi / "rev",
                                              scsi / "inquiry",
                                              scsi / "block/sda/size",
                                              scsi / "block/sda/dev",
                                              usbDevice / "1-1:1.0/bInterfaceClass",
                                              scsi / "block/sda/device",
                                              root / "block/sda",
                                              scsi / "scsi_generic/sg0/dev"};
    while (!input.empty()) {
        const fs::path& target = attributes[input.byte() % attributes.size()];
        fs::remove_all(target, ignored);
        switch (input.byte() % 8) {
            case 0:
                ::mkfifo(target.c_str(), 0600);
                break;
            case 1:
                fs::create_symlink(target.filename(), target, ignored);  // a loop
                break;
            case 2:
                fs::create_symlink("/etc/hostname", target, ignored);  // out of the tree
                break;
            case 3:
                fs::create_symlink("/dev/zero", target, ignored);  // a device node
                break;
            case 4:
                fs::create_directories(target, ignored);
                break;
            case 5:
                testing::writeText(target, std::string(kMaxAttributeBytes + 1, 'A'));
                break;
            case 6:
                fs::create_symlink(attributes[input.byte() % attributes.size()], target, ignored);
                break;
            default:
                testing::writeText(target, input.text(40));
                break;
        }
    }

    std::vector<UsbDrive> drives;
    try {
        drives = listUsbDrives(root);
    } catch (const std::runtime_error&) {
        return 0;  // the block folder itself was made odd: "not a sysfs tree"
    }
    std::ostringstream text;
    std::ostringstream json;
    {
        norvessa::json::JsonWriter writer(json);
        writer.beginArray();
        for (const UsbDrive& found : drives) {
            const DriveReport report = reportOf(found, std::nullopt);
            writeDriveReportText(text, report);
            writer.beginObject();
            writeDriveReportJson(writer, report);
            writer.endObject();
        }
        writer.endArray();
    }
    for (const char character : text.str()) {
        const auto byte = static_cast<unsigned char>(character);
        if ((byte < 0x20 && character != '\n') || byte == 0x7F) {
            std::abort();
        }
    }
    if (norvessa::json::jsonError(json.str())) {
        std::abort();
    }
    return 0;
}

// --drives over a fake sysfs tree: one recorded from a real kernel, and drives made by hand.

#include <gtest/gtest.h>

#include <sstream>

#include <sys/stat.h>

#include "drive/controller_hint.h"
#include "drive/sysfs_drives.h"
#include "fake_sysfs.h"
#include "norvessa_query/command_line.h"
#include "platform/json/json_check.h"
#include "support/temporary_folder.h"

namespace norvessa::drive {
namespace {

std::string run(std::vector<std::string> arguments, int& status) {
    std::ostringstream out;
    std::ostringstream errors;
    status = query::runQueryTool(arguments, out, errors);
    if (std::find(arguments.begin(), arguments.end(), "json") != arguments.end()) {
        const auto error = json::jsonError(out.str());
        EXPECT_FALSE(error.has_value()) << *error << "\n" << out.str();
    }
    return out.str() + errors.str();
}

// A USB 3 Kingston drive (the brand's VID) with a Phison controller, in a USB 2 port, and a
// Silicon Motion drive under its own VID; a virtual disk beside them.
void writeHandMadeTree(const std::filesystem::path& root) {
    testing::FakeDrive kingston;
    kingston.usbPath = "2-1";
    kingston.block = "sdb";
    kingston.sg = "sg1";
    kingston.host = 1;
    kingston.usb = {{"idVendor", "0951"},         {"idProduct", "1666"},
                    {"version", " 3.20"},         {"speed", "480"},
                    {"manufacturer", "Kingston"}, {"product", "DataTraveler 3.0\x01"},
                    {"serial", "ABC123"}};
    kingston.interface = {{"bInterfaceClass", "08"}, {"bInterfaceProtocol", "50"}};
    kingston.scsi = {{"vendor", "Kingston"}, {"model", "DataTraveler 3.0"}, {"rev", "PMAP"}};
    kingston.disk = {{"size", "60555264"}, {"removable", "1"}};
    testing::addFakeDrive(root, kingston);

    testing::FakeDrive smi;
    smi.usbPath = "1-2";
    smi.block = "sdc";
    smi.sg = "sg2";
    smi.host = 2;
    smi.usb = {{"idVendor", "090c"}, {"idProduct", "1000"}, {"version", " 2.00"}, {"speed", "480"}};
    smi.interface = {{"bInterfaceClass", "08"}};
    smi.scsi = {{"vendor", "SMI"}, {"model", "USB DISK"}, {"rev", "1100"}};
    smi.disk = {{"size", "0"}};
    testing::addFakeDrive(root, smi);
    testing::addVirtualDisk(root, "vda");

    testing::writeText(root / "usb.ids",
                       "# comment\n0951  Kingston Technology\n\t1666  DataTraveler 100 G3\n"
                       "\t\t00  interface line\n090c  Silicon Motion, Inc. - Taiwan\n"
                       "\t1000  Flash Drive\nC 00  (Defined at Interface level)\n\t1000  no\n");
}

TEST(Drives, HandMadeTreeGivesEveryFieldAndItsHints) {
    NORVESSA_SKIP_WITHOUT_SYSFS_NAMES();
    norvessa::testing::TemporaryFolder folder;
    writeHandMadeTree(folder.path());
    const auto drives = listUsbDrives(folder.path());
    ASSERT_EQ(drives.size(), 2u);
    EXPECT_EQ(drives[0].blockName, "sdb");
    EXPECT_EQ(drives[0].sgName, "sg1");
    EXPECT_EQ(drives[0].vendorId, 0x0951);
    EXPECT_EQ(drives[0].sizeBytes, 60555264ull * 512);
    EXPECT_EQ(usbLinkRemark(drives[0]), "USB 3 device in a USB 2 port");
    // The brand's VID names no controller maker; the INQUIRY revision does.
    const auto hints = controllerHints(drives[0]);
    ASSERT_EQ(hints.size(), 1u);
    EXPECT_EQ(hints[0].maker, ControllerMaker::Phison);
    EXPECT_TRUE(hints[0].byInquiry);
    EXPECT_TRUE(hints[0].opensGate());
    // 090C:1000 is listed as a flash drive under Silicon Motion's VID: a key.
    EXPECT_EQ(controllerHints(drives[1]).at(0).maker, ControllerMaker::SiliconMotion);
    EXPECT_FALSE(controllerHints(drives[1]).at(0).byInquiry);
    EXPECT_TRUE(controllerHints(drives[1]).at(0).opensGate());

    int status = -1;
    const std::string root = folder.path().string();
    const std::string usbIds = (folder.path() / "usb.ids").string();
    const std::string text = run({"--drives", "--sysfs-root", root, "--usb-ids", usbIds}, status);
    EXPECT_EQ(status, 0) << text;
    for (const char* expected :
         {"/dev/sdb (SCSI generic /dev/sg1)",
          "0951:1666 [Kingston Technology / DataTraveler 100 G3]", "DataTraveler 3.0?",
          "3.20, link 480 Mbit/s (high speed): USB 3 device in a USB 2 port",
          "Controller Hint:          Phison [established: its commands may be sent] (INQUIRY "
          "revision \"PMAP\"",
          "28.8 GiB (31004295168 bytes)", "090C:1000 [Silicon Motion, Inc. - Taiwan / Flash Drive]",
          "0 (no medium)"}) {
        EXPECT_NE(text.find(expected), std::string::npos) << expected << "\n" << text;
    }
    const std::string json =
        run({"--drives", "--sysfs-root", root, "--usb-ids", usbIds, "--format", "json"}, status);
    EXPECT_EQ(status, 0);
    EXPECT_NE(json.find("\"product\": \"DataTraveler 3.0\\u0001\""), std::string::npos) << json;
    EXPECT_NE(json.find("\"usb_remark\": \"USB 3 device in a USB 2 port\""), std::string::npos);

    // A probe talks to this machine's device, so it never trusts a recorded tree.
    EXPECT_NE(run({"--probe", "/dev/sg1", "--sysfs-root", root}, status)
                  .find("--sysfs-root applies to --drives only"),
              std::string::npos);
    EXPECT_EQ(status, 2);

    // No drive, or no sysfs tree at all.
    norvessa::testing::TemporaryFolder empty;
    std::filesystem::create_directories(empty.path() / "block");
    EXPECT_NE(run({"--drives", "--sysfs-root", empty.path().string()}, status)
                  .find("no USB mass-storage drive found"),
              std::string::npos);
    EXPECT_EQ(status, 1);
    EXPECT_NE(run({"--drives", "--sysfs-root", (empty.path() / "none").string()}, status)
                  .find("is not a sysfs tree"),
              std::string::npos);
    EXPECT_EQ(status, 2);
}

TEST(Drives, TreeRecordedFromARealKernel) {
    NORVESSA_SKIP_WITHOUT_SYSFS_NAMES();
    const std::filesystem::path dump =
        std::filesystem::path(NORVESSA_SHARED_DIR) / "fixtures/usb/sysfs-emulated-phison-drive.txt";
    const auto recorded = testing::fakeDriveFromDump(dump);
    if (!recorded) {
        GTEST_SKIP() << "no recorded sysfs dump at " << dump;
    }
    norvessa::testing::TemporaryFolder folder;
    testing::addFakeDrive(folder.path(), *recorded);
    const auto drives = listUsbDrives(folder.path());
    ASSERT_EQ(drives.size(), 1u);
    const UsbDrive& drive = drives[0];
    EXPECT_EQ(drive.vendorId, 0x13FE);
    EXPECT_EQ(drive.productId, 0x5500);
    EXPECT_EQ(drive.usbVersion, "2.00");
    EXPECT_EQ(drive.inquiryVendor, "TESTBRND");
    EXPECT_EQ(drive.inquiryProduct, "Emulated Drive");
    EXPECT_EQ(drive.inquiry.size(), 36u);
    EXPECT_EQ(drive.sizeBytes, 8192u * 512);
    const auto hints = controllerHints(drive);
    ASSERT_EQ(hints.size(), 1u);
    EXPECT_EQ(hints[0].reasons.size(), 2u);  // the revision and the VID
    EXPECT_TRUE(hints[0].opensGate());
    EXPECT_NE(hints[0].key->find("PMAP"), std::string::npos);
}

// Recorded trees may hold anything: a FIFO, a link that loops or leaves the tree, a device
// node, a huge file. Each leaves its one field empty; the drive and the listing stay.
TEST(Drives, OddAttributesSkipTheFieldNotTheDriveOrTheListing) {
#ifdef _WIN32
    GTEST_SKIP() << "FIFOs, device nodes and sysfs names (0:0:0:0) cannot be made on Windows";
#else
    namespace fs = std::filesystem;
    norvessa::testing::TemporaryFolder folder;
    testing::FakeDrive drive;
    drive.block = "sdb";
    drive.usbPath = "1-4";
    drive.usb = {{"idVendor", "13fe"},     {"idProduct", "4200"},    {"bcdDevice", "01\x1b[31m00"},
                 {"version", " 2.00\x07"}, {"bMaxPower", "100mA\r"}, {"speed", "480"}};
    drive.interface = {{"bInterfaceClass", "08"}};
    drive.scsi = {{"vendor", "Te\xff\xfest"}, {"model", "Drive"}, {"rev", "1.00"}};
    drive.disk = {{"size", "8192"}};
    // 56 INQUIRY bytes: the vendor-specific ones after 36 carry "PMAP".
    drive.inquiry.assign(56, 0x20);
    std::copy_n("PMAP", 4, drive.inquiry.begin() + 36);
    testing::addFakeDrive(folder.path(), drive);
    const fs::path usbDevice = folder.path() / "devices/pci0000:00/0000:00:14.0/usb1/1-4";
    const fs::path scsi = usbDevice / "1-4:1.0/host0/target0:0:0/0:0:0:0";
    // product: a FIFO; manufacturer: a link out of the tree; serial: a link to itself;
    // model's neighbour rev stays; size: too large to be an attribute.
    ASSERT_EQ(::mkfifo((usbDevice / "product").c_str(), 0600), 0);
    fs::create_symlink("/etc/hostname", usbDevice / "manufacturer");
    fs::create_symlink("serial", usbDevice / "serial");
    fs::remove(scsi / "model");
    fs::create_symlink("/dev/zero", scsi / "model");
    fs::remove(scsi / "block/sdb/size");
    testing::writeText(scsi / "block/sdb/size", std::string(5000, '1'));

    const auto drives = listUsbDrives(folder.path());
    ASSERT_EQ(drives.size(), 1u);
    EXPECT_EQ(drives[0].product, "");
    EXPECT_EQ(drives[0].manufacturer, "");
    EXPECT_EQ(drives[0].serial, "");
    EXPECT_EQ(drives[0].inquiryProduct, "");
    EXPECT_EQ(drives[0].inquiryRevision, "1.00");
    EXPECT_FALSE(drives[0].sizeBytes.has_value());
    EXPECT_EQ(drives[0].inquiry.size(), 56u);
    // The vendor-specific bytes beyond 36 are shown, and their marker is a key.
    EXPECT_TRUE(controllerHints(drives[0]).at(0).opensGate());

    int status = -1;
    const std::string root = folder.path().string();
    const std::string text = run({"--drives", "--sysfs-root", root}, status);
    EXPECT_EQ(status, 0) << text;
    for (const char* expected :
         {"Device Revision:          01?[31m00", "USB Version:              2.00?",
          "Declared Power:           100mA", "Query Vendor:             Te??st",
          "Query Vendor Specific:    bytes 36-55: 50 4D 41 50"}) {
        EXPECT_NE(text.find(expected), std::string::npos) << expected << "\n" << text;
    }
    EXPECT_EQ(text.find('\x1b'), std::string::npos);
    EXPECT_EQ(text.find('\x07'), std::string::npos);
    EXPECT_EQ(text.find('\r'), std::string::npos);
    // JSON: valid UTF-8 (checked in run()), the raw bytes in hexadecimal beside the text.
    const std::string json = run({"--drives", "--sysfs-root", root, "--format", "json"}, status);
    EXPECT_NE(json.find("\"inquiry_vendor_hex\": \"54 65 FF FE 73 74\""), std::string::npos)
        << json;
    EXPECT_NE(json.find("\"inquiry_vendor_specific_hex\": \"50 4D 41 50"), std::string::npos);

    // A link from the block folder that loops, and one that leaves the tree: passed over.
    fs::create_symlink("loop", folder.path() / "block/loop");
    fs::create_symlink("/sys/block", folder.path() / "block/outside");
    EXPECT_EQ(listUsbDrives(folder.path()).size(), 1u);

    // --usb-ids takes only a regular file of a usb.ids size.
    EXPECT_NE(run({"--drives", "--sysfs-root", root, "--usb-ids", "/dev/zero"}, status)
                  .find("is not a regular file"),
              std::string::npos);
    EXPECT_EQ(status, 2);
#endif
}

}  // namespace
}  // namespace norvessa::drive

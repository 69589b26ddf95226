// --probe through a fake SCSI transport: the gate that lets a maker's commands reach only a
// drive whose evidence establishes that maker, the documented replies decoded and looked up,
// malformed replies and transport errors reported, and nothing sent that the command table does
// not hold.

#include <gtest/gtest.h>

#include <sstream>

#include "drive/capacity_check.h"
#include "drive/probe.h"
#include "drive/reply_layouts.h"
#include "drive/reply_parsers.h"
#include "drive/sg_io_transport.h"
#include "drive/vendor_commands.h"
#include "fake_sysfs.h"
#include "fake_transport.h"
#include "norvessa_query/drive_commands.h"
#include "platform/json/json_check.h"
#include "support/temporary_folder.h"

namespace norvessa::drive {
namespace {

using testing::Bytes;
using testing::FakeTransport;
using testing::put;

const Bytes kHynixId = {0xAD, 0xD7, 0x94, 0x9A, 0x74, 0x42, 0x00, 0x00};     // H27UBG8T2A, 32 Gbit
const Bytes kMicron3dId = {0x2C, 0xC3, 0x08, 0x32, 0xE6, 0x00, 0x00, 0x00};  // B27B, 512 Gbit

// A maker with a key opens the gate; without one it is a hint only.
ControllerHint key(ControllerMaker maker) {
    return {maker, {"test key"}, true, std::string("test key")};
}
ControllerHint hintOnly(ControllerMaker maker) {
    return {maker, {"test hint"}, false, std::nullopt};
}

bool inTable(const Bytes& block) {
    return std::any_of(kCommands.begin(), kCommands.end(), [&](const VendorCommand& command) {
        return Bytes(command.block.begin(), command.block.begin() + command.length) == block;
    });
}

void expectValidJson(const std::string& text) {
    const auto error = json::jsonError(text);
    EXPECT_FALSE(error.has_value()) << *error << "\n" << text;
}

TEST(Probe, CommandTableHoldsOnlyReadOnlyBlocksAndNothingElseIsSent) {
    for (const VendorCommand& command : kCommands) {
        SCOPED_TRACE(std::string(command.name));
        const std::uint8_t opcode = command.block[0];
        // Phison's writing, uploading, erasing and jumping family, and Alcor's raw NAND D0.
        if (opcode == 0x06) {
            EXPECT_TRUE(command.block[1] == 0x05 || command.block[1] == 0x56);
            // Anything after the opcode pair would turn 06 05 into a memory read.
            EXPECT_TRUE(std::all_of(command.block.begin() + 2, command.block.end(),
                                    [](std::uint8_t byte) { return byte == 0; }));
        }
        EXPECT_NE(opcode, 0xD0);
        EXPECT_NE(opcode, 0xC6);
        EXPECT_NE(opcode, 0xC7);
        EXPECT_GT(command.replyLength, 0u);  // every command reads; none carries data out
        EXPECT_LE(command.length, 16);
    }

    // Every maker path, with good, refused, malformed, timed-out and failing replies.
    std::vector<Bytes> sent;
    const std::vector<std::vector<ControllerHint>> hintSets = {
        {key(ControllerMaker::Phison)},
        {key(ControllerMaker::SiliconMotion)},
        {key(ControllerMaker::Alcor)},
        {hintOnly(ControllerMaker::Alcor)},
        {key(ControllerMaker::ChipsBank), key(ControllerMaker::Phison)},
        {}};
    for (int variant = 0; variant < 4; ++variant) {
        for (const auto& hints : hintSets) {
            FakeTransport transport;
            if (variant == 0) {
                transport.answer(CommandId::ReadCapacity10, testing::readCapacity10(0xFFFFFFFF, 0));
                transport.answer(CommandId::ReadCapacity16, Bytes(32, 0x01));
                transport.answer(CommandId::PhisonInfoPage, testing::phisonInfoPage());
                transport.answer(CommandId::PhisonReadId, testing::idSlots(0, {kHynixId}));
                transport.answer(CommandId::SmiInfo, testing::smiInfoPage());
                transport.answer(CommandId::SmiFlashIds, testing::idSlots(0x30, {kHynixId}));
                transport.answer(CommandId::AlcorChipId, Bytes(512, 0x11));
                transport.answer(CommandId::AlcorFirmware, Bytes(512, 0x22));
                transport.answer(CommandId::AlcorFlashIds, testing::idSlots(0, {kHynixId}));
            } else if (variant == 1) {
                for (const VendorCommand& command : kCommands) {
                    transport.answer(command.id, Bytes(7, 0xFF));
                }
            } else if (variant == 2) {
                transport.timeOut(CommandId::ReadCapacity10);
            } else {
                for (const VendorCommand& command : kCommands) {
                    transport.failTransport(command.id);
                }
            }
            probeDrive(transport, hints);
            sent.insert(sent.end(), transport.sent.begin(), transport.sent.end());
            for (const auto timeout : transport.timeouts) {
                EXPECT_EQ(timeout, kCommandTimeout);
            }
        }
    }
    ASSERT_FALSE(sent.empty());
    for (const Bytes& block : sent) {
        EXPECT_TRUE(inTable(block));
    }
}

TEST(Probe, AHintOnlyGetsNoCommandAndARefusalEndsTheMakersCommands) {
    // A ChipsBank key sends nothing (no documented command); an Alcor hint only sends nothing.
    FakeTransport transport;
    transport.answer(CommandId::ReadCapacity10, testing::readCapacity10(1023, 512));
    const ProbeResult chipsBank = probeDrive(transport, {key(ControllerMaker::ChipsBank)});
    EXPECT_EQ(transport.sent.size(), 1u);
    EXPECT_EQ(chipsBank.announced->bytes(), 1024u * 512);
    EXPECT_NE(chipsBank.notes.back().find("no public source"), std::string::npos);

    transport.sent.clear();
    const ProbeResult hinted = probeDrive(transport, {hintOnly(ControllerMaker::Alcor)});
    EXPECT_EQ(transport.sent.size(), 1u);  // READ CAPACITY only
    EXPECT_NE(hinted.notes.back().find("a hint only"), std::string::npos);
    EXPECT_TRUE(hinted.gate.empty());

    // A refused 9A ends Alcor's commands: FA 0E and FA 00 are not sent.
    transport.sent.clear();
    transport.answer(CommandId::AlcorFirmware, testing::alcorFirmwarePage(0x42, {1, 2, 3, 4}));
    transport.answer(CommandId::AlcorFlashIds, testing::idSlots(0, {kHynixId, kHynixId}));
    const ProbeResult refused = probeDrive(transport, {key(ControllerMaker::Alcor)});
    ASSERT_EQ(transport.sent.size(), 2u);
    EXPECT_EQ(transport.sent[1][0], 0x9A);
    EXPECT_FALSE(refused.answered());
    EXPECT_NE(refused.notes.back().find("no further Alcor Micro command"), std::string::npos);

    // With 9A answered, the chip ID is named where the table names it, and the rest follows.
    transport.sent.clear();
    transport.answer(CommandId::AlcorChipId, testing::alcorChipPage(0xCD03, 3, true));
    const ProbeResult named = probeDrive(transport, {key(ControllerMaker::Alcor)});
    EXPECT_EQ(transport.sent.size(), 4u);
    EXPECT_EQ(named.controller, "Alcor AU6989/AU6998 (revision 42)");
    EXPECT_EQ(named.firmwareVersion, "01020304");
    EXPECT_EQ(named.badBlocks, 12u);  // x4 with firmware loaded
    ASSERT_EQ(named.flashIds.size(), 2u);
    EXPECT_EQ(named.flashIds[1].chipEnable, 1);
    EXPECT_EQ(named.flashIds[1].id, Bytes(kHynixId.begin(), kHynixId.begin() + 6));
    ASSERT_EQ(named.gate.size(), 1u);
    EXPECT_EQ(named.gate[0], "Alcor Micro: test key");
}

TEST(Probe, MalformedRepliesAreNamedNeverTrusted) {
    const auto message = [](auto parse, const Bytes& reply) {
        try {
            parse(std::span<const std::uint8_t>(reply));
        } catch (const ReplyError& error) {
            return std::string(error.what());
        }
        return std::string("accepted");
    };
    const auto phison = [](auto reply) { return parsePhisonInfo(reply); };
    EXPECT_NE(message(phison, Bytes(100, 1)).find("100 bytes, too short"), std::string::npos);
    EXPECT_NE(message(phison, Bytes(528, 0xFF)).find("every byte of the reply is FF"),
              std::string::npos);
    Bytes noMarker = testing::phisonInfoPage();
    noMarker[layout::phison_info::kMarker] = 'X';
    EXPECT_NE(message(phison, noMarker).find("no \"VR\" marker"), std::string::npos);
    const PhisonInfo burner = parsePhisonInfo(testing::phisonInfoPage(" FW BURN"));
    EXPECT_EQ(burner.chipType, "PS2307");
    EXPECT_EQ(burner.firmwareVersion, "1.23.45");
    EXPECT_EQ(burner.firmwareDate, (Bytes{14, 11, 28}));
    EXPECT_EQ(burner.runMode, "burner (FW BURN)");
    EXPECT_EQ(firmwareDateText(burner.firmwareDate),
              "0E 0B 1C (14 11 28 in decimal; the sources call these bytes the firmware date but "
              "none says which is the year)");

    const auto ids = [](auto reply) { return parsePhisonReadId(reply); };
    EXPECT_NE(message(ids, Bytes(512, 0xFF)).find("every ID slot is FF"), std::string::npos);
    EXPECT_NE(message(ids, Bytes(512, 0)).find("no chip enable holds"), std::string::npos);
    EXPECT_NE(message(ids, Bytes(64, 0x98)).find("too short"), std::string::npos);
    const auto smi = [](auto reply) { return parseSmiInfo(reply); };
    Bytes notSmi = testing::smiInfoPage();
    notSmi[layout::smi_info::kModel] = 'X';
    EXPECT_NE(message(smi, notSmi).find("no model beginning \"SM\""), std::string::npos);
    EXPECT_EQ(parseSmiInfo(testing::smiInfoPage()).firmwareVersion, "ISP 140513-AA-");

    // READ CAPACITY(10) says "ask the 16-byte form" in so many words, never with a zero size.
    const auto capacity10 = [](auto reply) { return parseReadCapacity10(reply); };
    EXPECT_TRUE(std::holds_alternative<AskReadCapacity16>(
        parseReadCapacity10(testing::readCapacity10(0xFFFFFFFF, 512))));
    EXPECT_EQ(std::get<Capacity>(parseReadCapacity10(testing::readCapacity10(1023, 512))).bytes(),
              1024u * 512);
    EXPECT_NE(message(capacity10, testing::readCapacity10(1000, 0)).find("no block size"),
              std::string::npos);
    EXPECT_NE(message(capacity10, testing::readCapacity10(1000, 520)).find("no block size"),
              std::string::npos);
    EXPECT_NE(message(capacity10, Bytes(3, 0)).find("too short"), std::string::npos);
    const auto capacity16 = [](auto reply) { return parseReadCapacity16(reply); };
    Bytes huge(32, 0xFF);
    put(huge, layout::read_capacity16::kBlockLength, Bytes{0, 0, 2, 0});
    EXPECT_NE(message(capacity16, huge).find("absurd"), std::string::npos);
    EXPECT_EQ(parseReadCapacity16(testing::readCapacity16(0x1FFFFFFFFull, 512)).bytes(),
              0x200000000ull * 512);

    // A probe given only malformed replies says what each was, and reads no controller.
    FakeTransport transport;
    transport.answer(CommandId::ReadCapacity10, Bytes(2, 0));
    transport.answer(CommandId::PhisonInfoPage, Bytes(528, 0xFF));
    const ProbeResult result = probeDrive(transport, {key(ControllerMaker::Phison)});
    EXPECT_FALSE(result.answered());
    EXPECT_FALSE(result.announced.has_value());
    ASSERT_EQ(result.notes.size(), 3u);
    EXPECT_NE(result.notes[1].find("every byte of the reply is FF"), std::string::npos);
    EXPECT_EQ(transport.sent.size(), 2u);  // the failed info page ends Phison's commands

    // A command that times out ends the probe.
    FakeTransport hanging;
    hanging.timeOut(CommandId::PhisonInfoPage);
    const ProbeResult stopped =
        probeDrive(hanging, {key(ControllerMaker::Phison), key(ControllerMaker::SiliconMotion)});
    EXPECT_EQ(hanging.sent.size(), 2u);
    EXPECT_NE(stopped.notes.back().find("no answer within 5 s"), std::string::npos);
    EXPECT_EQ(stopped.failedCommand, "Phison 06 05 (info page)");
}

TEST(Probe, TheCapacityCheckSaysResizedOnlyForACertainDensity) {
    const std::uint64_t gib = std::uint64_t{1} << 30;
    // No flash ID: no density is known, whatever the drive announces.
    const CapacityCheck none = checkCapacity(16 * gib, {});
    EXPECT_FALSE(none.flashBytes.has_value());
    EXPECT_FALSE(none.likelyResized);
    EXPECT_NE(none.verdict.find("no flash ID was read"), std::string::npos) << none.verdict;
    // Two chip enables of 32 Gbit hold 8 GiB: 16 GiB announced is likely resized.
    const std::vector<ChipEnableId> hynix = {{0, kHynixId}, {1, kHynixId}};
    const CapacityCheck resized = checkCapacity(16 * gib, hynix);
    EXPECT_TRUE(resized.likelyResized);
    EXPECT_EQ(resized.flashBytes, 8 * gib);
    // A genuine 128 GB drive with two chip enables of Micron 3D NAND (512 Gbit each): the
    // density is not certain from the ID, so the check cannot tell, and says why.
    const std::vector<ChipEnableId> micron3d = {{0, kMicron3dId}, {1, kMicron3dId}};
    const CapacityCheck genuine = checkCapacity(std::uint64_t{128'000'000'000}, micron3d);
    EXPECT_FALSE(genuine.likelyResized);
    EXPECT_FALSE(genuine.flashBytes.has_value());
    EXPECT_NE(genuine.verdict.find("cannot tell"), std::string::npos) << genuine.verdict;
    EXPECT_NE(genuine.verdict.find("2C C3 08 32 E6"), std::string::npos) << genuine.verdict;
    // The Intel N38A from the 3D table: 1 Tbit per CE is certain.
    const Bytes intel = {0x89, 0xD3, 0xAC, 0x32, 0xC6, 0x00};
    const CapacityCheck fits = checkCapacity(std::uint64_t{128'000'000'000}, {{0, intel}});
    EXPECT_FALSE(fits.likelyResized);
    EXPECT_EQ(fits.flashBytes, 128 * gib);
}

// A probe end to end through a recorded-shape tree: the drive is found by its node number (the
// test uses /dev/null, 1:3, as the SCSI generic node), the gate decides what is sent.
struct ProbeRun {
    int status = -1;
    bool opened = false;
    std::string out;
    std::string errors;
    std::vector<Bytes> sent;
};

ProbeRun probeThrough(const std::filesystem::path& root, const std::string& device,
                      const std::function<void(FakeTransport&)>& replies,
                      query::OutputFormat format = query::OutputFormat::Table) {
    ProbeRun run;
    auto sent = std::make_shared<std::vector<Bytes>>();
    const query::TransportOpener opener = [&](const std::filesystem::path& node,
                                              DeviceNumber expected) {
        run.opened = true;
        EXPECT_EQ(node, "/dev/sg1");
        EXPECT_EQ(expected, (DeviceNumber{1, 3}));
        class Recording : public FakeTransport {
          public:
            explicit Recording(std::shared_ptr<std::vector<Bytes>> log) : log_(std::move(log)) {}
            ~Recording() override { *log_ = sent; }

          private:
            std::shared_ptr<std::vector<Bytes>> log_;
        };
        auto transport = std::make_unique<Recording>(sent);
        replies(*transport);
        return transport;
    };
    query::QueryRequest request;
    request.mode = query::LookupMode::Probe;
    request.text = device;
    request.sysfsRoot = root;
    request.format = format;
    std::ostringstream out;
    std::ostringstream errors;
    try {
        run.status = query::runDriveCommand(request, out, errors, opener);
    } catch (const std::exception& error) {
        run.status = 2;
        errors << error.what();
    }
    run.out = out.str();
    run.errors = errors.str();
    run.sent = *sent;
    if (format == query::OutputFormat::Json && !run.out.empty()) {
        expectValidJson(run.out);
    }
    return run;
}

testing::FakeDrive kingstonPhison() {
    testing::FakeDrive kingston;
    kingston.block = "sdb";
    kingston.sg = "sg1";
    kingston.sgDev = "1:3";
    kingston.blockDev = "8:16";
    kingston.partitions = {{"sdb1", "8:17"}};
    kingston.usb = {
        {"idVendor", "0951"}, {"idProduct", "1666"}, {"version", " 2.00"}, {"speed", "480"}};
    kingston.interface = {{"bInterfaceClass", "08"}};
    kingston.scsi = {{"vendor", "Kingston"}, {"model", "DataTraveler 3.0"}, {"rev", "PMAP"}};
    kingston.disk = {{"size", "33554432"}};
    return kingston;
}

// A Kingston drive (the brand's VID) whose INQUIRY revision names Phison, probed end to end:
// sysfs, the vendor commands, the decode, the records and the capacity check.
TEST(Probe, BrandedPhisonDriveEndToEnd) {
    NORVESSA_SKIP_WITHOUT_SYSFS_NAMES();
    norvessa::testing::TemporaryFolder folder;
    testing::addFakeDrive(folder.path(), kingstonPhison());
    const auto phison = [](std::uint32_t lastLba) {
        return [lastLba](FakeTransport& transport) {
            transport.answer(CommandId::ReadCapacity10, testing::readCapacity10(lastLba, 512));
            transport.answer(CommandId::PhisonInfoPage, testing::phisonInfoPage());
            transport.answer(CommandId::PhisonReadId, testing::idSlots(0, {kHynixId, kHynixId}));
        };
    };
    // 16 GiB announced; two chip enables of 32 Gbit hold 8 GiB.
    const ProbeRun resized = probeThrough(folder.path(), "/dev/null", phison(33554431));
    EXPECT_EQ(resized.status, 0) << resized.errors;
    for (const char* expected :
         {"Controller:               Phison PS2307", "Chip F/W:                 1.23.45",
          "Flash ID:                 ADD7949A7442 (CE0, CE1)", "H27UBG8T2A",
          "Hynix MLC, 32 Gbit per CE", "Flash CE:                 2",
          "exceeds the 8 GiB the flash holds: the drive was likely resized", "f3",
          "Firmware Date Bytes:      0E 0B 1C",
          "Commands Allowed By:      Phison: INQUIRY revision \"PMAP\", the marker of Phison",
          "Controller Hint:          Phison [established"}) {
        EXPECT_NE(resized.out.find(expected), std::string::npos) << expected << "\n" << resized.out;
    }
    EXPECT_EQ(resized.out.find("VID 0951"), std::string::npos);  // a brand's VID is no hint

    const ProbeRun fits =
        probeThrough(folder.path(), "/dev/null", phison(15000000), query::OutputFormat::Json);
    EXPECT_NE(fits.out.find("\"likely_resized\": false"), std::string::npos) << fits.out;
    EXPECT_NE(fits.out.find("\"controller\": \"Phison PS2307\""), std::string::npos);
    EXPECT_NE(fits.out.find("\"chip_enables\": [\n"), std::string::npos);

    // A transport error keeps what was read and names the command that failed.
    const ProbeRun failed = probeThrough(folder.path(), "/dev/null", [](FakeTransport& transport) {
        transport.answer(CommandId::ReadCapacity10, testing::readCapacity10(15000000, 512));
        transport.answer(CommandId::PhisonInfoPage, testing::phisonInfoPage());
        transport.failTransport(CommandId::PhisonReadId);
    });
    EXPECT_EQ(failed.status, 2);
    EXPECT_NE(failed.out.find("Controller:               Phison PS2307"), std::string::npos)
        << failed.out;
    EXPECT_NE(failed.out.find("Failed Command:           Phison 06 56 (NAND READ ID): /dev/sg9: "
                              "the host adapter reported error 7"),
              std::string::npos)
        << failed.out;
    EXPECT_NE(failed.errors.find("the probe stopped at Phison 06 56"), std::string::npos);
    const ProbeRun failedJson = probeThrough(
        folder.path(), "/dev/null",
        [](FakeTransport& transport) { transport.failTransport(CommandId::ReadCapacity10); },
        query::OutputFormat::Json);
    EXPECT_NE(failedJson.out.find("\"failed_command\": \"READ CAPACITY(10)\""), std::string::npos)
        << failedJson.out;

    // A plain file named like the drive is no device node: nothing is opened.
    testing::writeText(folder.path() / "sdb", "");
    const ProbeRun byName =
        probeThrough(folder.path(), (folder.path() / "sdb").string(), [](FakeTransport&) {});
    EXPECT_EQ(byName.status, 2);
    EXPECT_FALSE(byName.opened);
    EXPECT_NE(byName.errors.find("is no device node"), std::string::npos) << byName.errors;
    // A node of no drive in sysfs.
    const ProbeRun other = probeThrough(folder.path(), "/dev/zero", [](FakeTransport&) {});
    EXPECT_FALSE(other.opened);
    EXPECT_NE(other.errors.find("(device 1:5) is no USB mass-storage drive"), std::string::npos)
        << other.errors;

    // A partition is refused with the whole drive to give instead.
    const auto drives = listUsbDrives(folder.path());
    ASSERT_EQ(drives.size(), 1u);
    const auto partition = findPartition(drives, DeviceNode{{8, 17}, true});
    ASSERT_TRUE(partition.has_value());
    EXPECT_EQ(partition->second, "sdb1");
    EXPECT_FALSE(findPartition(drives, DeviceNode{{8, 17}, false}).has_value());
    EXPECT_EQ(findUsbDrive(drives, DeviceNode{{8, 16}, true})->blockName, "sdb");
    EXPECT_FALSE(findUsbDrive(drives, DeviceNode{{8, 16}, false}).has_value());

    try {
        SgIoTransport plain(folder.path() / "sdb");
        ADD_FAILURE() << "a plain file opened as a SCSI generic node";
    } catch (const TransportError& error) {
        EXPECT_NE(std::string(error.what()).find("is not a SCSI generic node"), std::string::npos)
            << error.what();
    }
}

// A SanDisk U3 Cruzer Micro reports revision "8.02", as Alcor firmware does: hinted, never
// probed.
TEST(Probe, SanDiskWithAlcorLikeRevisionIsHintedButNeverProbed) {
    NORVESSA_SKIP_WITHOUT_SYSFS_NAMES();
    norvessa::testing::TemporaryFolder folder;
    testing::FakeDrive sandisk;
    sandisk.block = "sdb";
    sandisk.sg = "sg1";
    sandisk.sgDev = "1:3";
    sandisk.usb = {{"idVendor", "0781"}, {"idProduct", "5406"}, {"product", "U3 Cruzer Micro"}};
    sandisk.interface = {{"bInterfaceClass", "08"}};
    sandisk.scsi = {{"vendor", "SanDisk"}, {"model", "U3 Cruzer Micro"}, {"rev", "8.02"}};
    sandisk.disk = {{"size", "7856127"}, {"removable", "1"}};
    testing::addFakeDrive(folder.path(), sandisk);
    const auto hints = controllerHints(listUsbDrives(folder.path()).at(0));
    ASSERT_EQ(hints.size(), 1u);
    EXPECT_EQ(hints[0].maker, ControllerMaker::Alcor);
    EXPECT_FALSE(hints[0].opensGate());

    const ProbeRun run = probeThrough(folder.path(), "/dev/null", [](FakeTransport& transport) {
        transport.answer(CommandId::ReadCapacity10, testing::readCapacity10(7856126, 512));
        transport.answer(CommandId::AlcorChipId, testing::alcorChipPage(0xCD03, 0, false));
        transport.answer(CommandId::AlcorFirmware, testing::alcorFirmwarePage(1, {1, 2, 3, 4}));
    });
    ASSERT_EQ(run.sent.size(), 1u) << run.out;  // READ CAPACITY(10) only: no 9A, no FA 0E
    EXPECT_EQ(run.sent[0][0], 0x25);
    EXPECT_EQ(run.status, 1);
    EXPECT_NE(run.out.find("Alcor Micro [a hint only"), std::string::npos) << run.out;
    EXPECT_NE(run.out.find("none of its commands was sent"), std::string::npos) << run.out;

    // With Alcor's own VID the same revision is a key.
    UsbDrive alcor;
    alcor.vendorId = 0x058F;
    alcor.productId = 0x9999;
    alcor.inquiryRevision = "8.07";
    EXPECT_TRUE(controllerHints(alcor).at(0).opensGate());
    alcor.inquiryRevision = "1.00";
    EXPECT_FALSE(controllerHints(alcor).at(0).opensGate());  // the VID alone
}

// An Alcor four-slot card reader (058f:6366) with no cards: a reader, never probed.
TEST(Probe, FourSlotCardReaderIsAReaderAndGetsNoCommand) {
    NORVESSA_SKIP_WITHOUT_SYSFS_NAMES();
    norvessa::testing::TemporaryFolder folder;
    for (int slot = 0; slot < 4; ++slot) {
        testing::FakeDrive reader;
        reader.block = std::string("sd") + static_cast<char>('b' + slot);
        reader.sg = "sg" + std::to_string(slot + 1);
        reader.sgDev = slot == 0 ? "1:3" : "21:" + std::to_string(slot + 1);
        reader.lun = slot;
        reader.usb = {
            {"idVendor", "058f"}, {"idProduct", "6366"}, {"product", "Mass Storage Device"}};
        reader.interface = {{"bInterfaceClass", "08"}};
        reader.scsi = {{"vendor", "Generic-"}, {"model", "Compact Flash"}, {"rev", "1.00"}};
        reader.disk = {{"size", "0"}, {"removable", "1"}};
        testing::addFakeDrive(folder.path(), reader);
    }
    const auto drives = listUsbDrives(folder.path());
    ASSERT_EQ(drives.size(), 4u);
    EXPECT_EQ(drives[0].lunCount, 4);
    const auto signs = readerSigns(drives[0]);
    ASSERT_GE(signs.size(), 3u);
    EXPECT_NE(signs[0].find("4 SCSI devices (LUNs)"), std::string::npos);

    const ProbeRun run = probeThrough(folder.path(), "/dev/null", [](FakeTransport&) {});
    EXPECT_FALSE(run.opened);
    EXPECT_TRUE(run.sent.empty());
    EXPECT_EQ(run.status, 1);
    EXPECT_NE(run.out.find("Device Kind:              card reader or multi-function device, "
                           "never probed"),
              std::string::npos)
        << run.out;
    EXPECT_NE(run.errors.find("no command was sent"), std::string::npos);
}

// A genuine 128 GB drive with two chip enables of Micron 3D NAND is not called resized.
TEST(Probe, ThreeDimensionalNandDriveIsNotCalledResized) {
    NORVESSA_SKIP_WITHOUT_SYSFS_NAMES();
    norvessa::testing::TemporaryFolder folder;
    testing::addFakeDrive(folder.path(), kingstonPhison());
    const ProbeRun run = probeThrough(
        folder.path(), "/dev/null",
        [](FakeTransport& transport) {
            transport.answer(CommandId::ReadCapacity10,
                             testing::readCapacity10(250'000'000 - 1, 512));
            transport.answer(CommandId::PhisonInfoPage, testing::phisonInfoPage());
            transport.answer(CommandId::PhisonReadId,
                             testing::idSlots(0, {kMicron3dId, kMicron3dId}));
        },
        query::OutputFormat::Json);
    EXPECT_EQ(run.status, 0) << run.errors;
    EXPECT_NE(run.out.find("\"likely_resized\": false"), std::string::npos) << run.out;
    EXPECT_NE(run.out.find("cannot tell whether the drive was resized"), std::string::npos);
}

}  // namespace
}  // namespace norvessa::drive

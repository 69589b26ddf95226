// --probe through a fake SCSI transport: the documented replies decoded and looked up,
// malformed replies reported, and nothing sent that the command table does not hold.

#include <gtest/gtest.h>

#include <sstream>

#include "drive/probe.h"
#include "drive/reply_parsers.h"
#include "drive/sg_io_transport.h"
#include "drive/vendor_commands.h"
#include "fake_sysfs.h"
#include "fake_transport.h"
#include "norvessa_query/drive_commands.h"
#include "support/temporary_folder.h"

namespace norvessa::drive {
namespace {

using testing::Bytes;
using testing::FakeTransport;
using testing::put;

const Bytes kHynixId = {0xAD, 0xD7, 0x94, 0x9A, 0x74, 0x42, 0x00, 0x00};  // H27UBG8T2A, 32 Gbit

ControllerHint hint(ControllerMaker maker, bool byInquiry) {
    return {maker, {"test"}, byInquiry};
}

bool inTable(const Bytes& block) {
    return std::any_of(kCommands.begin(), kCommands.end(), [&](const VendorCommand& command) {
        return Bytes(command.block.begin(), command.block.begin() + command.length) == block;
    });
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

    // Every maker path, with good, refused, malformed and timed-out replies.
    std::vector<Bytes> sent;
    const std::vector<std::vector<ControllerHint>> hintSets = {
        {hint(ControllerMaker::Phison, true)},
        {hint(ControllerMaker::SiliconMotion, false)},
        {hint(ControllerMaker::Alcor, true)},
        {hint(ControllerMaker::Alcor, false)},
        {hint(ControllerMaker::ChipsBank, false), hint(ControllerMaker::Phison, false)},
        {}};
    for (int variant = 0; variant < 3; ++variant) {
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
            } else {
                transport.timeOut(CommandId::ReadCapacity10);
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

TEST(Probe, MakersAreAskedOnlyWhenAHintNamesThem) {
    // A ChipsBank hint sends nothing; an Alcor hint from the VID alone leaves 9A unsent.
    FakeTransport transport;
    transport.answer(CommandId::ReadCapacity10, testing::readCapacity10(1023, 512));
    const ProbeResult chipsBank = probeDrive(transport, {hint(ControllerMaker::ChipsBank, false)});
    EXPECT_EQ(transport.sent.size(), 1u);
    EXPECT_EQ(chipsBank.announced->bytes(), 1024u * 512);
    EXPECT_NE(chipsBank.notes.back().find("no public source"), std::string::npos);

    transport.sent.clear();
    Bytes firmware(512, 0);
    firmware[0x0B] = 0x42;
    put(firmware, 4, Bytes{0x01, 0x02, 0x03, 0x04});
    transport.answer(CommandId::AlcorFirmware, firmware);
    transport.answer(CommandId::AlcorFlashIds, testing::idSlots(0, {kHynixId, kHynixId}));
    const ProbeResult alcor = probeDrive(transport, {hint(ControllerMaker::Alcor, false)});
    for (const Bytes& block : transport.sent) {
        EXPECT_NE(block[0], 0x9A);
    }
    EXPECT_EQ(alcor.controller, "Alcor (revision 42)");
    EXPECT_EQ(alcor.firmwareVersion, "01020304");
    ASSERT_EQ(alcor.flashIds.size(), 2u);
    EXPECT_EQ(alcor.flashIds[1].chipEnable, 1);
    EXPECT_EQ(alcor.flashIds[1].id, Bytes(kHynixId.begin(), kHynixId.begin() + 6));

    // With INQUIRY evidence 9A goes too, and its chip ID is named where the table names it.
    transport.sent.clear();
    Bytes chip(512, 0);
    put(chip, 4, Bytes{0xCD, 0x03});
    chip[0x25] = 3;
    put(chip, 0x2B, Bytes{0xAA, 0x01, 0x12, 0x34});
    transport.answer(CommandId::AlcorChipId, chip);
    const ProbeResult named = probeDrive(transport, {hint(ControllerMaker::Alcor, true)});
    EXPECT_EQ(transport.sent.at(1)[0], 0x9A);
    EXPECT_EQ(named.controller, "Alcor AU6989/AU6998 (revision 42)");
    EXPECT_EQ(named.badBlocks, 12u);  // x4 with firmware loaded
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
    noMarker[0x17A] = 'X';
    EXPECT_NE(message(phison, noMarker).find("no \"VR\" marker"), std::string::npos);
    const PhisonInfo burner = parsePhisonInfo(testing::phisonInfoPage(" FW BURN"));
    EXPECT_EQ(burner.chipType, "PS2307");
    EXPECT_EQ(burner.firmwareVersion, "1.23.45");
    EXPECT_EQ(burner.firmwareDate, "14/11/28");
    EXPECT_EQ(burner.runMode, "burner (FW BURN)");

    const auto ids = [](auto reply) { return parsePhisonReadId(reply); };
    EXPECT_NE(message(ids, Bytes(512, 0xFF)).find("every ID slot is FF"), std::string::npos);
    EXPECT_NE(message(ids, Bytes(512, 0)).find("no chip enable holds"), std::string::npos);
    EXPECT_NE(message(ids, Bytes(64, 0x98)).find("too short"), std::string::npos);
    const auto smi = [](auto reply) { return parseSmiInfo(reply); };
    Bytes notSmi = testing::smiInfoPage();
    notSmi[0x1AE] = 'X';
    EXPECT_NE(message(smi, notSmi).find("no model beginning \"SM\""), std::string::npos);
    EXPECT_EQ(parseSmiInfo(testing::smiInfoPage()).firmwareVersion, "ISP 140513-AA-");

    const auto capacity10 = [](auto reply) { return parseReadCapacity10(reply); };
    EXPECT_NE(message(capacity10, testing::readCapacity10(1000, 0)).find("no block size"),
              std::string::npos);
    EXPECT_NE(message(capacity10, testing::readCapacity10(1000, 520)).find("no block size"),
              std::string::npos);
    EXPECT_NE(message(capacity10, Bytes(3, 0)).find("too short"), std::string::npos);
    const auto capacity16 = [](auto reply) { return parseReadCapacity16(reply); };
    Bytes huge(32, 0xFF);
    put(huge, 8, Bytes{0, 0, 2, 0});
    EXPECT_NE(message(capacity16, huge).find("absurd"), std::string::npos);

    // A probe given only malformed replies says what each was, and reads no controller.
    FakeTransport transport;
    transport.answer(CommandId::ReadCapacity10, Bytes(2, 0));
    transport.answer(CommandId::PhisonInfoPage, Bytes(528, 0xFF));
    const ProbeResult result = probeDrive(transport, {hint(ControllerMaker::Phison, true)});
    EXPECT_FALSE(result.answered());
    EXPECT_FALSE(result.announced.has_value());
    ASSERT_EQ(result.notes.size(), 2u);
    EXPECT_NE(result.notes[1].find("every byte of the reply is FF"), std::string::npos);
    EXPECT_EQ(transport.sent.size(), 2u);  // the refused info page ends Phison's commands

    // A command that times out ends the probe.
    FakeTransport hanging;
    hanging.timeOut(CommandId::PhisonInfoPage);
    const ProbeResult stopped = probeDrive(hanging, {hint(ControllerMaker::Phison, true),
                                                     hint(ControllerMaker::SiliconMotion, false)});
    EXPECT_EQ(hanging.sent.size(), 2u);
    EXPECT_NE(stopped.notes.back().find("no answer within 5 s"), std::string::npos);
}

// A Kingston drive (the brand's VID) whose INQUIRY revision names Phison, probed end to end:
// sysfs, the vendor commands, the decode, the records and the capacity check.
TEST(Probe, BrandedPhisonDriveEndToEnd) {
    NORVESSA_SKIP_WITHOUT_SYSFS_NAMES();
    norvessa::testing::TemporaryFolder folder;
    testing::FakeDrive kingston;
    kingston.block = "sdb";
    kingston.sg = "sg1";
    kingston.usb = {
        {"idVendor", "0951"}, {"idProduct", "1666"}, {"version", " 2.00"}, {"speed", "480"}};
    kingston.interface = {{"bInterfaceClass", "08"}};
    kingston.scsi = {{"vendor", "Kingston"}, {"model", "DataTraveler 3.0"}, {"rev", "PMAP"}};
    kingston.disk = {{"size", "33554432"}};
    testing::addFakeDrive(folder.path(), kingston);

    const auto run = [&](std::uint32_t lastLba, const std::string& format, int& status) {
        std::filesystem::path opened;
        const query::TransportOpener opener = [&](const std::filesystem::path& node) {
            opened = node;
            auto transport = std::make_unique<FakeTransport>();
            transport->answer(CommandId::ReadCapacity10, testing::readCapacity10(lastLba, 512));
            transport->answer(CommandId::PhisonInfoPage, testing::phisonInfoPage());
            transport->answer(CommandId::PhisonReadId, testing::idSlots(0, {kHynixId, kHynixId}));
            return transport;
        };
        query::QueryRequest request;
        request.mode = query::LookupMode::Probe;
        request.text = "/dev/sdb";
        request.sysfsRoot = folder.path();
        request.format = format == "json" ? query::OutputFormat::Json : query::OutputFormat::Table;
        std::ostringstream out;
        std::ostringstream errors;
        status = query::runDriveCommand(request, out, errors, opener);
        EXPECT_EQ(opened, "/dev/sg1");
        return out.str();
    };
    int status = -1;
    // 16 GiB announced; two chip enables of 32 Gbit hold 8 GiB.
    const std::string resized = run(33554431, "table", status);
    EXPECT_EQ(status, 0);
    for (const char* expected :
         {"Controller:               Phison PS2307", "Chip F/W:                 1.23.45",
          "Flash ID:                 ADD7949A7442 (CE0, CE1)", "H27UBG8T2A",
          "Hynix MLC, 32 Gbit per CE", "Flash CE:                 2",
          "exceeds the 8 GiB the flash holds: the drive was likely resized", "f3",
          "Controller Hint:          Phison (INQUIRY revision \"PMAP\""}) {
        EXPECT_NE(resized.find(expected), std::string::npos) << expected << "\n" << resized;
    }
    EXPECT_EQ(resized.find("VID 0951"), std::string::npos);  // a brand's VID is no hint

    const std::string fits = run(15000000, "json", status);
    EXPECT_NE(fits.find("\"likely_resized\": false"), std::string::npos) << fits;
    EXPECT_NE(fits.find("\"controller\": \"Phison PS2307\""), std::string::npos);
    EXPECT_NE(fits.find("\"chip_enables\": [\n"), std::string::npos);

    // A device sysfs does not list, and a node that is no SCSI generic node.
    query::QueryRequest request;
    request.mode = query::LookupMode::Probe;
    request.text = "/dev/sdz";
    request.sysfsRoot = folder.path();
    std::ostringstream out;
    EXPECT_THROW(query::runDriveCommand(request, out, out), std::runtime_error);
    testing::writeText(folder.path() / "plain", "x");
    try {
        SgIoTransport plain(folder.path() / "plain");
        ADD_FAILURE() << "a plain file opened as a SCSI generic node";
    } catch (const TransportError& error) {
        EXPECT_NE(std::string(error.what()).find("is not a SCSI generic node"), std::string::npos);
    }
}

}  // namespace
}  // namespace norvessa::drive

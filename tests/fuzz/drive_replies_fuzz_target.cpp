// libFuzzer entry for the drive's reply parsers. The first byte picks a parser and the rest is
// the reply: it must be read or refused with a ReplyError, and what is read must hold together
// (flash IDs of 2 to 8 bytes on chip enables 0 to 7, a capacity without overflow). The same
// bytes then answer every command of a whole probe, whose report must come out.

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <span>
#include <sstream>
#include <variant>
#include <vector>

#include "drive/capacity_check.h"
#include "drive/drive_report.h"
#include "drive/probe.h"
#include "drive/reply_parsers.h"
#include "drive/scsi_transport.h"
#include "platform/json/json_check.h"
#include "platform/json/json_writer.h"

namespace {

using norvessa::drive::ChipEnableId;

void checkIds(const std::vector<ChipEnableId>& ids) {
    for (const ChipEnableId& chipEnable : ids) {
        if (chipEnable.id.size() < 2 || chipEnable.id.size() > 8 || chipEnable.chipEnable < 0 ||
            chipEnable.chipEnable > 7) {
            std::abort();
        }
    }
    norvessa::drive::checkCapacity(std::uint64_t{1} << 40, ids);
}

void parseOne(std::uint8_t which, std::span<const std::uint8_t> reply) {
    using namespace norvessa::drive;
    switch (which % 9) {
        case 0:
            parsePhisonInfo(reply);
            return;
        case 1:
            checkIds(parsePhisonReadId(reply));
            return;
        case 2:
            parseSmiInfo(reply);
            return;
        case 3:
            checkIds(parseSmiFlashIds(reply));
            return;
        case 4:
            parseAlcorChipId(reply);
            return;
        case 5:
            parseAlcorFirmware(reply);
            return;
        case 6:
            checkIds(parseAlcorFlashIds(reply));
            return;
        case 7: {
            const ReadCapacity10Reply parsed = parseReadCapacity10(reply);
            if (const auto* capacity = std::get_if<Capacity>(&parsed)) {
                if (capacity->blockBytes == 0 ||
                    capacity->bytes() / capacity->blockBytes != capacity->lastLba + 1) {
                    std::abort();
                }
            }
            return;
        }
        default: {
            const Capacity capacity = parseReadCapacity16(reply);
            if (capacity.bytes() / capacity.blockBytes != capacity.lastLba + 1) {
                std::abort();
            }
            return;
        }
    }
}

// Answers every command with the fuzzed bytes, the first as the SCSI status.
class ReplayTransport : public norvessa::drive::ScsiTransport {
  public:
    explicit ReplayTransport(std::span<const std::uint8_t> data) : data_(data) {}

  private:
    norvessa::drive::ScsiReply transfer(std::span<const std::uint8_t>, std::size_t dataInLength,
                                        std::chrono::milliseconds) override {
        if (!data_.empty() && data_[0] == 0x7E) {
            throw norvessa::drive::TransportError("fuzz: the host adapter failed");
        }
        norvessa::drive::ScsiReply reply;
        reply.status = data_.empty() ? 0 : (data_[0] & 0x03) == 0x03 ? 2 : 0;
        const auto sense = data_.first(std::min<std::size_t>(data_.size(), 18));
        const auto replied = data_.first(std::min(data_.size(), dataInLength));
        reply.sense.assign(sense.begin(), sense.end());
        reply.data.assign(replied.begin(), replied.end());
        return reply;
    }

    std::span<const std::uint8_t> data_;
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace norvessa::drive;
    if (size == 0) {
        return 0;
    }
    const std::span<const std::uint8_t> reply(data + 1, size - 1);
    try {
        parseOne(data[0], reply);
    } catch (const ReplyError&) {
        // A malformed reply refused with its reason is a correct outcome.
    }

    ReplayTransport transport(reply);
    const std::vector<ControllerHint> hints = {
        {ControllerMaker::Phison, {"fuzz"}, true, std::string("fuzz")},
        {ControllerMaker::SiliconMotion, {"fuzz"}, true, std::string("fuzz")},
        {ControllerMaker::Alcor, {"fuzz"}, true, std::string("fuzz")}};
    DriveReport report;
    report.hints = hints;
    addProbe(report, probeDrive(transport, hints),
             [](std::span<const std::uint8_t>) { return SupportRecords{}; });
    // The reply bytes also stand for a drive's sysfs texts and INQUIRY data.
    report.drive.inquiry.assign(reply.begin(), reply.end());
    report.drive.inquiryVendor.assign(reply.begin(), reply.end());
    report.drive.product.assign(reply.begin(),
                                reply.begin() + static_cast<std::ptrdiff_t>(reply.size() / 2));
    report.hints = controllerHints(report.drive);
    report.readerSigns = readerSigns(report.drive);
    std::ostringstream text;
    writeDriveReportText(text, report);
    for (const char character : text.str()) {
        const auto byte = static_cast<unsigned char>(character);
        if ((byte < 0x20 && character != '\n') || byte == 0x7F) {
            std::abort();  // every printed text goes through the control-character filter
        }
    }
    std::ostringstream out;
    {
        norvessa::json::JsonWriter json(out);
        json.beginObject();
        writeDriveReportJson(json, report);
        json.endObject();
    }
    // What the writer wrote parses back, and is valid UTF-8.
    if (norvessa::json::jsonError(out.str())) {
        std::abort();
    }
    return 0;
}

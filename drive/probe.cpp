#include "drive/probe.h"

#include "drive/units.h"
#include "drive/vendor_commands.h"

namespace norvessa::drive {

namespace {

// A command that ran out of time: the drive may not answer anything more.
class ProbeStopped : public std::runtime_error {
  public:
    using std::runtime_error::runtime_error;
};

// Sends one command and hands its data to `parse`; a refusal or a malformed reply becomes a
// note and nothing.
template <typename Parse>
auto ask(ScsiTransport& transport, CommandId id, ProbeResult& result, Parse parse)
    -> std::optional<decltype(parse(std::span<const std::uint8_t>()))> {
    const VendorCommand& command = commandFor(id);
    result.sent.emplace_back(command.name);
    const ScsiReply reply = sendCommand(transport, id);
    if (reply.timedOut) {
        throw ProbeStopped(std::string(command.name) + ": no answer within " +
                           std::to_string(kCommandTimeout.count() / 1000) +
                           " s; no further command was sent");
    }
    if (!reply.good()) {
        result.notes.push_back(std::string(command.name) + ": the drive refused it (status " +
                               std::to_string(reply.status) + ", " + senseText(reply.sense) + ")");
        return std::nullopt;
    }
    try {
        return parse(std::span<const std::uint8_t>(reply.data));
    } catch (const ReplyError& error) {
        result.notes.emplace_back(error.what());
        return std::nullopt;
    }
}

void readCapacity(ScsiTransport& transport, ProbeResult& result) {
    auto capacity = ask(transport, CommandId::ReadCapacity10, result,
                        [](auto reply) { return parseReadCapacity10(reply); });
    if (capacity && capacity->lastLba == 0xFFFFFFFF) {
        capacity = ask(transport, CommandId::ReadCapacity16, result,
                       [](auto reply) { return parseReadCapacity16(reply); });
    }
    result.announced = capacity;
}

bool probePhison(ScsiTransport& transport, ProbeResult& result) {
    const auto info = ask(transport, CommandId::PhisonInfoPage, result,
                          [](auto reply) { return parsePhisonInfo(reply); });
    if (!info) {
        return false;
    }
    result.maker = ControllerMaker::Phison;
    result.controller = "Phison " + info->chipType;
    result.firmwareVersion = info->firmwareVersion;
    result.firmwareDate = info->firmwareDate;
    result.runMode = info->runMode;
    if (!info->ifMarkPresent) {
        result.notes.emplace_back("Phison 06 05: no \"IF\" mark at 0x200");
    }
    if (auto ids = ask(transport, CommandId::PhisonReadId, result,
                       [](auto reply) { return parsePhisonReadId(reply); })) {
        result.flashIds = std::move(*ids);
    }
    return true;
}

bool probeSiliconMotion(ScsiTransport& transport, ProbeResult& result) {
    const auto info =
        ask(transport, CommandId::SmiInfo, result, [](auto reply) { return parseSmiInfo(reply); });
    if (!info) {
        return false;
    }
    result.maker = ControllerMaker::SiliconMotion;
    result.controller = "Silicon Motion " + info->model;
    result.firmwareVersion = info->firmwareVersion;
    if (auto ids = ask(transport, CommandId::SmiFlashIds, result,
                       [](auto reply) { return parseSmiFlashIds(reply); })) {
        result.flashIds = std::move(*ids);
    }
    return true;
}

bool probeAlcor(ScsiTransport& transport, const ControllerHint& hint, ProbeResult& result) {
    std::optional<AlcorChip> chip;
    if (hint.byInquiry) {
        chip = ask(transport, CommandId::AlcorChipId, result,
                   [](auto reply) { return parseAlcorChipId(reply); });
    } else {
        result.notes.emplace_back(
            "Alcor 9A (chip ID): not sent, since only the VID names Alcor and 9A is a standard "
            "opcode on other drives");
    }
    const auto firmware = ask(transport, CommandId::AlcorFirmware, result,
                              [](auto reply) { return parseAlcorFirmware(reply); });
    if (!chip && !firmware) {
        return false;
    }
    result.maker = ControllerMaker::Alcor;
    result.controller = "Alcor";
    if (chip) {
        result.controller += " " + chip->chipName.value_or("chip ID " + hexText(chip->chipId, 4));
        result.badBlocks = chip->badBlocks;
    }
    if (firmware) {
        result.controller += " (revision " + hexText(firmware->chipRevision, 2) + ")";
        result.firmwareVersion = firmware->firmwareVersion;
    }
    if (auto ids = ask(transport, CommandId::AlcorFlashIds, result,
                       [](auto reply) { return parseAlcorFlashIds(reply); })) {
        result.flashIds = std::move(*ids);
    }
    return true;
}

}  // namespace

ProbeResult probeDrive(ScsiTransport& transport, const std::vector<ControllerHint>& hints) {
    ProbeResult result;
    try {
        readCapacity(transport, result);
        bool probed = false;
        for (const ControllerHint& hint : hints) {
            switch (hint.maker) {
                case ControllerMaker::Phison:
                    probed = probePhison(transport, result);
                    break;
                case ControllerMaker::SiliconMotion:
                    probed = probeSiliconMotion(transport, result);
                    break;
                case ControllerMaker::Alcor:
                    probed = probeAlcor(transport, hint, result);
                    break;
                default:
                    result.notes.push_back("no public source documents a read-only command for " +
                                           std::string(controllerMakerName(hint.maker)) +
                                           " controllers; none sent");
                    break;
            }
            if (probed) {
                break;
            }
        }
        if (hints.empty()) {
            result.notes.emplace_back(
                "no hint names a controller maker, so no vendor command was sent");
        }
    } catch (const ProbeStopped& stopped) {
        result.notes.emplace_back(stopped.what());
    }
    return result;
}

}  // namespace norvessa::drive

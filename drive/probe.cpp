#include "drive/probe.h"

#include <variant>

#include "drive/units.h"
#include "drive/vendor_commands.h"

namespace norvessa::drive {

namespace {

// A command that ran out of time, or a transport that failed: nothing more is sent.
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
    ScsiReply reply;
    try {
        reply = transport.execute(id);
    } catch (const TransportError& error) {
        result.failedCommand = std::string(command.name);
        result.transportError = error.what();
        throw ProbeStopped(std::string(command.name) + ": the transport failed (" + error.what() +
                           "); no further command was sent");
    }
    if (reply.timedOut) {
        result.failedCommand = std::string(command.name);
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

void endsMaker(ProbeResult& result, ControllerMaker maker) {
    result.notes.push_back("no further " + std::string(controllerMakerName(maker)) +
                           " command was sent after the one that failed");
}

void readCapacity(ScsiTransport& transport, ProbeResult& result) {
    const auto reply = ask(transport, CommandId::ReadCapacity10, result,
                           [](auto data) { return parseReadCapacity10(data); });
    if (!reply) {
        return;
    }
    if (const auto* capacity = std::get_if<Capacity>(&*reply)) {
        result.announced = *capacity;
        return;
    }
    result.announced = ask(transport, CommandId::ReadCapacity16, result,
                           [](auto data) { return parseReadCapacity16(data); });
}

bool probePhison(ScsiTransport& transport, ProbeResult& result) {
    const auto info = ask(transport, CommandId::PhisonInfoPage, result,
                          [](auto reply) { return parsePhisonInfo(reply); });
    if (!info) {
        endsMaker(result, ControllerMaker::Phison);
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
        endsMaker(result, ControllerMaker::SiliconMotion);
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

bool probeAlcor(ScsiTransport& transport, ProbeResult& result) {
    const auto chip = ask(transport, CommandId::AlcorChipId, result,
                          [](auto reply) { return parseAlcorChipId(reply); });
    if (!chip) {
        endsMaker(result, ControllerMaker::Alcor);
        return false;
    }
    result.maker = ControllerMaker::Alcor;
    result.controller = "Alcor " + chip->chipName.value_or("chip ID " + hexText(chip->chipId, 4));
    result.badBlocks = chip->badBlocks;
    const auto firmware = ask(transport, CommandId::AlcorFirmware, result,
                              [](auto reply) { return parseAlcorFirmware(reply); });
    if (!firmware) {
        endsMaker(result, ControllerMaker::Alcor);
        return true;
    }
    result.controller += " (revision " + hexText(firmware->chipRevision, 2) + ")";
    result.firmwareVersion = firmware->firmwareVersion;
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
        for (const ControllerHint& hint : hints) {
            const std::string maker(controllerMakerName(hint.maker));
            if (!hint.opensGate()) {
                result.notes.push_back(
                    maker + ": a hint only (" +
                    (hint.reasons.empty() ? std::string("no reason") : hint.reasons.front()) +
                    "), not evidence that establishes the maker; none of its "
                    "commands was sent");
                continue;
            }
            bool probed = false;
            switch (hint.maker) {
                case ControllerMaker::Phison:
                    result.gate.push_back(maker + ": " + *hint.key);
                    probed = probePhison(transport, result);
                    break;
                case ControllerMaker::SiliconMotion:
                    result.gate.push_back(maker + ": " + *hint.key);
                    probed = probeSiliconMotion(transport, result);
                    break;
                case ControllerMaker::Alcor:
                    result.gate.push_back(maker + ": " + *hint.key);
                    probed = probeAlcor(transport, result);
                    break;
                default:
                    result.notes.push_back("no public source documents a read-only command for " +
                                           maker + " controllers; none sent");
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

#include "formats/dat/dat_spotedit.h"

#include <cmath>
#include <cstdio>
#include <string>

#include "formats/dat/dat_walk.h"
#include "io/frequency_reply.h"
#include "io/number_text.h"

namespace rfretune {
namespace {

constexpr std::string_view kSystemQuestion = "Input a System number (1-32) or 0 to Quit";
constexpr std::string_view kGroupQuestion = "Input a Group number";
constexpr std::string_view kChoiceQuestion =
    "Enter R to change RX, T to change TX, or Q / Enter to Quit:";
constexpr std::string_view kReceiveLabel = "        Rx Freq. : ";
constexpr std::string_view kTransmitLabel = "        Tx Freq. : ";
constexpr std::string_view kReceiveEntry = "Enter RX Freq: (902-928mhz) ";
constexpr std::string_view kTransmitEntry = "Enter TX Freq: (902-928mhz) ";
constexpr std::string_view kGroupLabel = "  Group -";

constexpr std::string_view kInvalidSystem = "Invalid system (1-32)";
constexpr std::string_view kNotValidSystem = "Not a valid system! ";
constexpr std::string_view kTrunkedSystem = "Trunked System detected. ";
constexpr std::string_view kInvalidGroup = "Invalid Group Number. ";
constexpr std::string_view kGroupNotFound = "Group Not found. ";

constexpr std::string_view kReportFirst = "Processing Complete.";
constexpr std::string_view kReportSecond = " Change(s) made.";

enum class Step {
  kStartScreen,
  kAskSystem,
  kCheckSystem,
  kAskGroup,
  kFindGroup,
  kFrequencyScreen,
  kAskFrequency,
  kEnd,
};

class Editor {
 public:
  Editor(DataFile& file, const DatVariantDescription& variant, HandlerContext& context)
      : file_(file),
        variant_(variant),
        console_(context.console),
        change_count_(context.change_count) {}

  std::optional<FileError> Run() {
    Step step = Step::kStartScreen;
    while (step != Step::kEnd) {
      switch (step) {
        case Step::kStartScreen:
          step = StartScreen();
          break;
        case Step::kAskSystem:
          step = AskSystem();
          break;
        case Step::kCheckSystem:
          step = CheckSystem();
          break;
        case Step::kAskGroup:
          step = AskGroup();
          break;
        case Step::kFindGroup:
          step = FindGroup();
          break;
        case Step::kFrequencyScreen:
          step = FrequencyScreen();
          break;
        case Step::kAskFrequency:
          step = AskFrequency();
          break;
        case Step::kEnd:
          break;
      }
      if (file_error_) return file_error_;
    }
    console_.PrintText(kReportFirst);
    console_.PrintNumber(change_count_);
    console_.PrintLine(kReportSecond);
    return std::nullopt;
  }

 private:
  Step StartScreen() {
    group_ = 0;
    console_.ClearScreen();
    console_.PrintEmptyLine();
    console_.PrintLine(variant_.title_line);
    console_.PrintLine(variant_.start_rule_line);
    console_.PrintEmptyLine();
    return Step::kAskSystem;
  }

  Step AskSystem() {
    const float system = console_.AskNumber(kSystemQuestion);
    // A fraction is refused like a number out of range: it names no entry
    // of the table and would read the bytes of two neighbouring entries.
    if (!(system >= 0 && system <= kDatSystemCount && system == std::floor(system))) {
      console_.PrintLine(kInvalidSystem);
      return Step::kStartScreen;
    }
    if (system == 0) return Step::kEnd;
    system_number_ = static_cast<int>(system);
    entry_ = ReadDatSystemEntry(file_, system_number_);
    if (!entry_.inside || entry_.high == kDatAbsentSystemByte) {
      console_.PrintText(kNotValidSystem);
      return Step::kAskSystem;
    }
    return Step::kCheckSystem;
  }

  Step CheckSystem() {
    const bool after_write = after_write_;
    after_write_ = false;
    if (entry_.low == kDatAbsentSystemByte) {
      console_.PrintText(kGroupNotFound);
      return Step::kAskSystem;
    }
    const std::optional<std::uint8_t> marker = ReadDatTrunkMarker(file_, variant_, entry_);
    // A marker past the end of the file leaves nothing to edit.
    if (!marker) {
      console_.PrintText(kGroupNotFound);
      return Step::kAskSystem;
    }
    if (*marker != kDatConventionalMarker) {
      console_.PrintText(kTrunkedSystem);
      return Step::kAskSystem;
    }
    // After a write the same group is looked up again, so that the screen
    // shows what the file now holds.
    return after_write ? Step::kFindGroup : Step::kAskGroup;
  }

  Step AskGroup() {
    group_ = console_.AskNumber(kGroupQuestion);
    // Without more input the question would be asked for ever; the editor
    // ends as it does after 0 at the system question.
    if (console_.InputEnded()) return Step::kEnd;
    if (!(group_ >= kDatFirstGroupNumber && group_ <= kDatLastGroupNumber)) {
      console_.PrintText(kInvalidGroup);
      return Step::kAskGroup;
    }
    return Step::kFindGroup;
  }

  Step FindGroup() {
    bool found = false;
    // Every record is looked at, so of several records with the group
    // number the last is the one edited.
    ForEachDatRecordOfSystem(file_, variant_, entry_, [&](std::int64_t origin) {
      if (static_cast<float>(file_.ReadByte(DatGroupNumberOffset(origin))) != group_) return;
      found = true;
      origin_ = origin;
      receive_ = ReadDatFrequency(file_, origin, DatRole::kReceive);
      transmit_ = ReadDatFrequency(file_, origin, DatRole::kTransmit);
    });
    if (!found) {
      console_.PrintText(kGroupNotFound);
      return Step::kAskSystem;
    }
    return Step::kFrequencyScreen;
  }

  Step FrequencyScreen() {
    console_.ClearScreen();
    console_.PrintEmptyLine();
    console_.PrintLine(variant_.title_line);
    console_.PrintLine(variant_.frequency_rule_line);
    console_.PrintEmptyLine();
    console_.PrintText(variant_.information_text);
    console_.PrintNumber(static_cast<float>(system_number_));
    console_.PrintText(kGroupLabel);
    console_.PrintNumberLine(group_);
    console_.PrintEmptyLine();
    console_.PrintToNextZone(std::string(kReceiveLabel) + DatFrequencyText(receive_));
    console_.PrintLine(std::string(kTransmitLabel) + DatFrequencyText(transmit_));
    console_.PrintEmptyLine();
    const std::string choice = console_.AskText(kChoiceQuestion);
    if (choice.empty() || choice == "Q" || choice == "q") return Step::kStartScreen;
    if (choice == "R" || choice == "r") {
      role_ = DatRole::kReceive;
      return Step::kAskFrequency;
    }
    if (choice == "T" || choice == "t") {
      role_ = DatRole::kTransmit;
      return Step::kAskFrequency;
    }
    return Step::kFrequencyScreen;
  }

  Step AskFrequency() {
    console_.PrintText(role_ == DatRole::kReceive ? kReceiveEntry : kTransmitEntry);
    const std::string reply = console_.AskText("");
    // The reply is judged and stored by its exact decimal value, not by the
    // position of its characters, so that 902.12500 or 9.02e2 are never
    // stored as some other frequency.
    const FrequencyReply judged = JudgeFrequencyReply(reply);
    switch (judged.verdict) {
      case FrequencyVerdict::kBack:
        return Step::kFrequencyScreen;
      case FrequencyVerdict::kOutOfRange:
        console_.PrintText(kFrequencyOutOfRange);
        return Step::kAskFrequency;
      case FrequencyVerdict::kOffRaster:
        console_.PrintText(kFrequencyOffRaster);
        return Step::kAskFrequency;
      case FrequencyVerdict::kAccepted:
        break;
    }
    Store(judged.hundred_hertz);
    if (auto error = file_.Flush()) {
      file_error_ = error;
      return Step::kEnd;
    }
    after_write_ = true;
    return Step::kCheckSystem;
  }

  void Store(std::int64_t hundred_hertz) {
    char mhz[8];
    char decimals[8];
    std::snprintf(mhz, sizeof mhz, "%03d", static_cast<int>(hundred_hertz / kHundredHertzPerMhz));
    std::snprintf(decimals, sizeof decimals, "%04d",
                  static_cast<int>(hundred_hertz % kHundredHertzPerMhz));
    const DatFrequencyCode code = DatEncodeFrequency(variant_, mhz, decimals);
    const std::int64_t start = DatFrequencyOffset(origin_, role_);
    for (std::size_t k = 0; k < code.size(); ++k) {
      file_.WriteByte(start + static_cast<std::int64_t>(k), code[k]);
    }
    if (variant_.has_attributes) {
      const std::int64_t attribute_offset = DatAttributeOffset(origin_, role_);
      if (file_.ReadByte(attribute_offset) == kDatAttributeBefore) {
        file_.WriteByte(attribute_offset, kDatAttributeAfter);
      }
    }
    // Counted also when the new frequency equals the old one: the user
    // asked for it to be written.
    change_count_ += 1;
  }

  DataFile& file_;
  const DatVariantDescription& variant_;
  Console& console_;
  float& change_count_;

  int system_number_ = 0;
  DatSystemEntry entry_;
  float group_ = 0;
  bool after_write_ = false;
  std::int64_t origin_ = 0;
  DatFrequencyCode receive_{};
  DatFrequencyCode transmit_{};
  DatRole role_ = DatRole::kReceive;
  std::optional<FileError> file_error_;
};

}  // namespace

std::optional<FileError> DatSpotedit(DataFile& file, const DatVariantDescription& variant,
                                     HandlerContext& context) {
  return Editor(file, variant, context).Run();
}

}  // namespace rfretune

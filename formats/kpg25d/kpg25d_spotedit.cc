#include "formats/kpg25d/kpg25d_spotedit.h"

#include <cmath>
#include <cstdint>
#include <string>
#include <string_view>

#include "formats/kpg25d/kpg25d_frequency.h"
#include "formats/kpg25d/kpg25d_layout.h"
#include "io/frequency_reply.h"
#include "io/number_text.h"

namespace rfretune {
namespace {

constexpr std::string_view kTitleLine = "          RFRETUNE-Spotedit (TK-941) KPG25D data file. ";
constexpr std::string_view kRuleLine = "          -----------------------------------------  ";

constexpr std::string_view kSystemQuestion = "Input a System number (1-32) or 0 to Quit";
constexpr std::string_view kGroupQuestion = "Input a Group number";
constexpr std::string_view kFrequencyQuestion = "Enter Freq: (902-928mhz) / 0 to Quit:";

constexpr std::string_view kInvalidSystem = "Invalid system (1-32)";
constexpr std::string_view kNotValidSystem = "Not a valid system! ";
constexpr std::string_view kGroupNotFound = "Group Not found. ";
constexpr std::string_view kTrunkedSystem = "Trunked System detected. ";
constexpr std::string_view kInvalidGroup = "Invalid Group Number. ";

constexpr int kLowestGroup = 1;
constexpr int kHighestGroup = 250;

enum class Step { kStart, kSystem, kGroup, kDisplay, kFrequency };

void ShowTitleScreen(Console& console) {
  console.ClearScreen();
  console.PrintEmptyLine();
  console.PrintLine(kTitleLine);
  console.PrintLine(kRuleLine);
  console.PrintEmptyLine();
}

bool IsWhole(float value) { return value == std::floor(value); }

}  // namespace

std::optional<FileError> Kpg25dSpotedit(Console& console, DataFile& file, float& change_count) {
  Step step = Step::kStart;
  float system_number = 0;
  float group_number = 0;  // 0: none chosen, the group question is due
  int slot = 0;
  int pointer = 0;
  Kpg25dGroupRecord record;

  while (true) {
    switch (step) {
      case Step::kStart:
        group_number = 0;
        ShowTitleScreen(console);
        step = Step::kSystem;
        break;

      case Step::kSystem: {
        system_number = console.AskNumber(kSystemQuestion);
        // A fraction would read the pointer from the bytes of two systems.
        if (system_number < 0 || system_number > kKpg25dSystemCount || !IsWhole(system_number)) {
          console.PrintLine(kInvalidSystem);
          step = Step::kStart;
          break;
        }
        if (system_number == 0) return std::nullopt;
        slot = static_cast<int>(system_number) - 1;
        const int low = file.ReadByte(Kpg25dPointerLowOffset(slot));
        const int high = file.ReadByte(Kpg25dPointerHighOffset(slot));
        if (high == kKpg25dEmptyPointerByte) {
          console.PrintText(kNotValidSystem);
          break;
        }
        if (low == kKpg25dEmptyPointerByte) {
          console.PrintText(kGroupNotFound);
          group_number = 0;
          break;
        }
        pointer = 256 * high + low;
        if (pointer >= kKpg25dPointerBase &&
            file.ReadByte(Kpg25dRecordOffset(pointer, 0) + kKpg25dCodeHighField) ==
                kKpg25dTrunkedCodeHigh) {
          console.PrintText(kTrunkedSystem);
          break;
        }
        step = Step::kGroup;
        break;
      }

      case Step::kGroup: {
        if (group_number == 0) {
          group_number = console.AskNumber(kGroupQuestion);
          // Once input has ended every answer is 0, which would ask forever.
          if (console.InputEnded()) return std::nullopt;
        }
        if (group_number < kLowestGroup || group_number > kHighestGroup) {
          console.PrintText(kInvalidGroup);
          group_number = 0;
          break;
        }
        // Every record is examined: where several carry the number, the last
        // one is the group shown and edited.
        std::optional<Kpg25dGroupRecord> found;
        const Kpg25dSystem system{pointer, file.ReadByte(Kpg25dGroupCountOffset(slot))};
        ForEachKpg25dSystemRecord(file, slot, system, [&](const Kpg25dGroupRecord& candidate) {
          if (static_cast<float>(candidate.group_number) == group_number) found = candidate;
        });
        if (!found) {
          console.PrintText(kGroupNotFound);
          group_number = 0;
          step = Step::kSystem;
          break;
        }
        record = *found;
        step = Step::kDisplay;
        break;
      }

      case Step::kDisplay:
        ShowTitleScreen(console);
        console.PrintText("        Current Freq. info for System -");
        console.PrintNumber(system_number);
        console.PrintText("  Group -");
        console.PrintNumberLine(group_number);
        console.PrintEmptyLine();
        console.PrintText("          Freq. : ");
        console.PrintText(Kpg25dFrequencyText(Kpg25dDecodeFrequency(record.code)));
        console.PrintText(" Mhz.");
        console.PrintLine((record.flags & kKpg25dTalkAroundOff) != 0 ? "     Talk Around = N"
                                                                     : "     Talk Around = Y");
        console.PrintEmptyLine();
        step = Step::kFrequency;
        break;

      case Step::kFrequency: {
        const std::string reply = console.AskText(kFrequencyQuestion);
        // The exact value typed decides, so that what is stored is what was
        // typed: a reply that is not a plain decimal, or lies between two
        // steps, is refused rather than rounded.
        const FrequencyReply judged = JudgeFrequencyReply(reply);
        if (judged.verdict == FrequencyVerdict::kBack) {
          step = Step::kStart;
          break;
        }
        if (judged.verdict == FrequencyVerdict::kOutOfRange) {
          console.PrintText(kFrequencyOutOfRange);
          break;
        }
        if (judged.verdict == FrequencyVerdict::kOffRaster) {
          console.PrintText(kFrequencyOffRaster);
          break;
        }
        Kpg25dWriteRecord(file, record.offset, Kpg25dCodeFromUnits(judged.hundred_hertz),
                          record.flags & ~kKpg25dTalkAroundOff);
        change_count += 1;
        if (auto error = file.Flush()) return error;
        // The group stays chosen: it is found again and shown as stored now.
        step = Step::kGroup;
        break;
      }
    }
  }
}

}  // namespace rfretune

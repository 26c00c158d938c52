#include "check/PrizeTable.h"

#include <cstdlib>
#include <filesystem>
#include <system_error>

#include "store/AtomicFile.h"
#include "store/ProfileDocument.h"
#include "store/TextUtil.h"
#include "store/VersionFolder.h"

namespace check {

namespace {

constexpr std::string_view kPound = "\xC2\xA3";
constexpr Money kPence = 100;
constexpr Money kMostMoney = Money{1'000'000'000} * kPence;
constexpr std::string_view kSection = "Prizes";
constexpr std::string_view kDaysKey = "DaysToClaim";
constexpr int kMostDays = 3660;

// The key each tier's amount is kept under, indexed by Tier.
constexpr std::array<std::string_view, kTierCount> kTierKeys = {
    "", "Two", "Three", "Four", "Five", "FiveAndBonus", "Six"};

std::string Grouped(Money whole) {
  std::string digits = std::to_string(whole);
  for (std::ptrdiff_t at = static_cast<std::ptrdiff_t>(digits.size()) - 3; at > 0; at -= 3) {
    digits.insert(static_cast<std::size_t>(at), 1, ',');
  }
  return digits;
}

// "1 jackpot", "2 jackpots".
std::string Counted(std::uint64_t count, std::string_view one) {
  return std::to_string(count) + " " + std::string(one) + (count == 1 ? "" : "s");
}

}  // namespace

PrizeTable DefaultPrizeTable() {
  PrizeTable prizes;
  prizes.Amount(Tier::Three) = 30 * kPence;
  prizes.Amount(Tier::Four) = 140 * kPence;
  prizes.Amount(Tier::Five) = 1'750 * kPence;
  prizes.Amount(Tier::FiveAndBonus) = 1'000'000 * kPence;
  return prizes;
}

std::string MoneyText(Money amount) {
  std::string text(kPound);
  text += Grouped(amount / kPence);
  if (const Money pence = amount % kPence; pence != 0) {
    text += pence < 10 ? ".0" : ".";
    text += std::to_string(pence);
  }
  return text;
}

std::optional<Money> ParseMoney(std::string_view text) {
  text = store::TrimBlanks(text);
  if (text.starts_with(kPound)) {
    text = store::TrimBlanks(text.substr(kPound.size()));
  }
  Money whole = 0;
  bool digits = false;
  std::size_t i = 0;
  for (; i < text.size() && text[i] != '.'; ++i) {
    if (text[i] == ',' && digits) {
      continue;
    }
    if (text[i] < '0' || text[i] > '9') {
      return std::nullopt;
    }
    whole = whole * 10 + (text[i] - '0');
    digits = true;
    if (whole * kPence > kMostMoney) {
      return std::nullopt;
    }
  }
  Money pence = 0;
  if (i < text.size()) {
    const std::string_view fraction = text.substr(i + 1);
    if (fraction.empty() || fraction.size() > 2 ||
        fraction.find_first_not_of("0123456789") != std::string_view::npos) {
      return std::nullopt;
    }
    pence = (fraction[0] - '0') * 10 + (fraction.size() == 2 ? fraction[1] - '0' : 0);
  }
  if (!digits && pence == 0 && i == text.size()) {
    return std::nullopt;
  }
  return whole * kPence + pence;
}

std::string PrizeText(const PrizeTable& prizes, Tier tier) {
  if (tier == Tier::None) {
    return {};
  }
  if (const std::optional<Money>& amount = prizes.Amount(tier)) {
    return MoneyText(*amount);
  }
  return tier == Tier::Six ? "Jackpot" : tier == Tier::Two ? "Free ticket" : "No amount";
}

void PrizeSum::Add(const PrizeTable& prizes, Tier tier, std::uint64_t wins) {
  if (tier == Tier::None || wins == 0) {
    return;
  }
  if (const std::optional<Money>& amount = prizes.Amount(tier)) {
    money += *amount * static_cast<Money>(wins);
  } else {
    withoutAmount[static_cast<std::size_t>(tier)] += wins;
  }
}

std::string PrizeSum::Text() const {
  // No money beside other prizes goes unsaid: "1 jackpot" rather than "£0 + 1 jackpot".
  std::string text = money != 0 ? MoneyText(money) : std::string();
  for (const Tier tier : kWinningTiers) {
    const std::uint64_t count = withoutAmount[static_cast<std::size_t>(tier)];
    if (count == 0) {
      continue;
    }
    text += text.empty() ? "" : " + ";
    text += tier == Tier::Six   ? Counted(count, "jackpot")
            : tier == Tier::Two ? Counted(count, "free ticket")
                                : Counted(count, "win") + " of " + std::string(TierName(tier));
  }
  return text.empty() ? MoneyText(0) : text;
}

std::string PrizeTablePath() {
  return store::UserFilePath("XDG_CONFIG_HOME", ".config", "pelmora/prizes.ini");
}

store::Result<PrizeTable> LoadPrizeTable(const std::string& path) {
  PrizeTable prizes = DefaultPrizeTable();
  if (path.empty()) {
    return prizes;
  }
  const store::Result<store::FileContents> file = store::ReadWholeFile(path);
  if (!file) {
    return store::Unexpected{file.error()};
  }
  if (!file->exists) {
    return prizes;
  }
  const store::ProfileDocument doc = store::ProfileDocument::Parse(file->bytes);
  for (const Tier tier : kWinningTiers) {
    const std::string_view key = kTierKeys[static_cast<std::size_t>(tier)];
    if (!doc.HasKey(kSection, key)) {
      continue;
    }
    const std::string value = doc.Get(kSection, key);
    if (store::TrimBlanks(value).empty()) {
      prizes.Amount(tier).reset();
    } else if (const std::optional<Money> amount = ParseMoney(value)) {
      prizes.Amount(tier) = amount;
    }
  }
  const std::string days = doc.Get(kSection, kDaysKey);
  if (const int value = std::atoi(days.c_str()); value > 0 && value <= kMostDays) {
    prizes.daysToClaim = value;
  }
  return prizes;
}

store::Result<void> SavePrizeTable(const std::string& path, const PrizeTable& prizes) {
  if (path.empty()) {
    return store::Fail(path, "there is no home folder to keep the prize table in");
  }
  std::error_code error;
  std::filesystem::create_directories(std::filesystem::path(path).parent_path(), error);
  if (error) {
    return store::Fail(path, error.message());
  }
  std::string text = "[Prizes]\n";
  for (const Tier tier : kWinningTiers) {
    text += kTierKeys[static_cast<std::size_t>(tier)];
    text += '=';
    if (const std::optional<Money>& amount = prizes.Amount(tier)) {
      text += MoneyText(*amount).substr(kPound.size());
    }
    text += '\n';
  }
  text += std::string(kDaysKey) + "=" + std::to_string(prizes.daysToClaim) + "\n";
  return store::WriteFileAtomically(path, text);
}

}  // namespace check

#include "app/protocol/verification_code.h"

#include <algorithm>
#include <optional>
#include <span>
#include <vector>

namespace velmora::protocol {
namespace {

constexpr size_t kShortestCode = 4;
constexpr size_t kLongestCode = 8;
// A code word and its code stand in one clause with at most this many tokens between them.
constexpr size_t kNearCodeWord = 8;
// A word that makes a number a card tail or a phone number stands before it with at most this
// many tokens between them.
constexpr size_t kNearContext = 2;
// A sender's name in brackets holds at most this many tokens.
constexpr size_t kLongestName = 16;

// Latin words are whole words in any case; Chinese ones are GBK characters.
constexpr std::string_view kCodeWords[] = {"code", "otp", "pin", "passcode",
                                           "\xbf\xda\xc1\xee"};  // 口令
// Any word ending in 码 is a code word (验证码, 动态码, 取件码, 安全代码 ...), but for 号码 (a
// phone number), and 密码 names a code only when one follows it.
constexpr std::string_view kCodeEnding = "\xc2\xeb";           // 码
constexpr std::string_view kPhoneNumber = "\xba\xc5\xc2\xeb";  // 号码
constexpr std::string_view kPassword = "\xc3\xdc\xc2\xeb";     // 密码
constexpr std::string_view kTailWords[] = {
    "\xce\xb2\xba\xc5",  // 尾号
    "\xce\xb2\xca\xfd",  // 尾数
    "ending",
    "ends",
};
constexpr std::string_view kHotlineWords[] = {
    "\xd6\xc2\xb5\xe7",  // 致电
    "\xbf\xcd\xb7\xfe",  // 客服
    "\xc8\xc8\xcf\xdf",  // 热线
    "\xb5\xe7\xbb\xb0",  // 电话
    "\xb2\xa6\xb4\xf2",  // 拨打
    "\xd7\xc9\xd1\xaf",  // 咨询
    "\xcf\xea\xd1\xaf",  // 详询
    "call",
    "tel",
    "phone",
    "hotline",
};
constexpr std::string_view kCurrencyWords[] = {
    "\xc8\xcb\xc3\xf1\xb1\xd2",  // 人民币
    "\xd4\xaa",                  // 元
    "rmb",
    "cny",
    "usd",
    "usdt",
};
// An English month names a date: its day and year stand beside it.
constexpr std::string_view kMonths[] = {
    "jan",  "january",   "feb",  "february", "mar",  "march",    "apr",    "april",
    "may",  "jun",       "june", "jul",      "july", "aug",      "august", "sep",
    "sept", "september", "oct",  "october",  "nov",  "november", "dec",    "december",
};
constexpr std::string_view kTimeUnits[] = {
    "\xc4\xea",  // 年
    "\xd4\xc2",  // 月
    "\xc8\xd5",  // 日
    "\xca\xb1",  // 时
    "\xb7\xd6",  // 分
    "\xc3\xeb",  // 秒
};

// GBK codes of the marks the rules look at beside their ASCII forms.
constexpr unsigned kFullStop = 0xA1A3;                        // 。
constexpr unsigned kIdeographicSpace = 0xA1A1;                // the full-width blank
constexpr unsigned kOpenBrackets[] = {'[', 0xA1BE, 0xA1BC};   // [ 【 〖
constexpr unsigned kCloseBrackets[] = {']', 0xA1BF, 0xA1BD};  // ] 】 〗

bool isDigit(unsigned c) {
  return c >= '0' && c <= '9';
}
bool isLetter(unsigned c) {
  return (c | 0x20) >= 'a' && (c | 0x20) <= 'z';
}
char lowerCase(char c) {
  return isLetter(static_cast<unsigned char>(c)) ? static_cast<char>(c | 0x20) : c;
}

// One character of the SMS: a byte, or a GBK lead byte with its trail byte (lead * 256 + trail).
// A lead byte without a trail byte after it stands alone.
struct Character {
  size_t length = 1;
  unsigned code = 0;
};

Character characterAt(std::string_view sms, size_t at) {
  const auto lead = static_cast<unsigned char>(sms[at]);
  if (lead >= 0x81 && lead <= 0xFE && at + 1 < sms.size()) {
    const auto trail = static_cast<unsigned char>(sms[at + 1]);
    if (trail >= 0x40 && trail <= 0xFE && trail != 0x7F) return {2, lead * 256u + trail};
  }
  return {1, lead};
}

// ASCII as itself and full-width ASCII (Ａ, ８, ：, ￥ as $) as its ASCII form; else 0.
unsigned asciiOf(unsigned code) {
  constexpr unsigned kFullWidthFirst = 0xA3A1;  // ！
  constexpr unsigned kFullWidthLast = 0xA3FE;   // ￣
  if (code < 0x80) return code;
  if (code >= kFullWidthFirst && code <= kFullWidthLast) return code - kFullWidthFirst + '!';
  return 0;
}

// The SMS as tokens, so that the rules speak of runs and characters rather than bytes.
enum class Kind {
  kAlnum,  // a run of letters and digits
  kHan,    // one double-byte character that is no symbol
  kMark,   // one punctuation mark, symbol, control or stray byte
  kBlank,  // a run of blanks
};

struct Token {
  Kind kind = Kind::kMark;
  size_t start = 0;  // the token's bytes in the SMS
  size_t end = 0;
  unsigned symbol = 0;    // a mark's ASCII form if it has one, else its code
  std::string text;       // an alnum run in ASCII
  size_t digits = 0;      // the digits in text
  size_t characters = 0;  // the characters in the token
};

Kind kindOf(const Character& character, unsigned ascii) {
  if (isDigit(ascii) || isLetter(ascii)) return Kind::kAlnum;
  if (ascii == ' ' || ascii == '\t' || character.code == kIdeographicSpace) return Kind::kBlank;
  // GBK keeps its punctuation and symbols in the rows led by 0xA1 to 0xA9.
  const unsigned lead = character.code >> 8;
  return character.length == 2 && (lead < 0xA1 || lead > 0xA9) ? Kind::kHan : Kind::kMark;
}

std::vector<Token> tokensOf(std::string_view sms) {
  std::vector<Token> tokens;
  for (size_t at = 0; at < sms.size();) {
    const Character character = characterAt(sms, at);
    const unsigned ascii = asciiOf(character.code);
    const Kind kind = kindOf(character, ascii);
    const bool runGoesOn = !tokens.empty() && tokens.back().kind == kind &&
                           (kind == Kind::kAlnum || kind == Kind::kBlank);
    if (!runGoesOn) tokens.push_back({kind, at, at, ascii ? ascii : character.code, {}, 0, 0});
    Token& token = tokens.back();
    if (kind == Kind::kAlnum) token.text += static_cast<char>(ascii);
    if (isDigit(ascii)) ++token.digits;
    ++token.characters;
    at += character.length;
    token.end = at;
  }
  return tokens;
}

bool isMarkOf(const Token& token, std::span<const unsigned> marks) {
  return token.kind == Kind::kMark && std::ranges::find(marks, token.symbol) != marks.end();
}
bool isMarkOf(const Token& token, std::string_view marks) {
  return token.kind == Kind::kMark && token.symbol < 0x80 && token.symbol != 0 &&
         marks.find(static_cast<char>(token.symbol)) != std::string_view::npos;
}
bool endsClause(const Token& token) {
  return isMarkOf(token, ",;!?.\r\n") || (token.kind == Kind::kMark && token.symbol == kFullStop);
}
bool isDigitRun(const Token& token) {
  return token.kind == Kind::kAlnum && token.digits == token.text.size();
}
// A group of a phone number written with blanks, as in "138 1234 5678".
bool isPhoneGroup(const Token& token) {
  return isDigitRun(token) && token.digits >= 3 && token.digits <= 4;
}

// A link is written with letters, digits and these marks; "," and ";" end a clause in an SMS
// rather than go on with a link.
bool isLinkToken(const Token& token) {
  return token.kind == Kind::kAlnum || isMarkOf(token, "-._~:/?#@&=%+");
}

// Whether a run of link tokens is a link: it holds "://", or a host name (its last part letters
// only) followed by "/", as in "site.co/s/7731".
bool isLink(std::span<const Token> run) {
  for (size_t i = 2; i < run.size(); ++i) {
    const bool scheme =
        isMarkOf(run[i - 2], ":") && isMarkOf(run[i - 1], "/") && isMarkOf(run[i], "/");
    const Token& domain = run[i - 1];
    const bool host = i >= 3 && isMarkOf(run[i], "/") && isMarkOf(run[i - 2], ".") &&
                      run[i - 3].kind == Kind::kAlnum && domain.kind == Kind::kAlnum &&
                      domain.digits == 0 && domain.text.size() >= 2;
    if (scheme || host) return true;
  }
  return false;
}

// Which tokens belong to a link: a run of link tokens without blanks that is a link.
std::vector<bool> linkTokensOf(const std::vector<Token>& tokens) {
  std::vector<bool> inLink(tokens.size(), false);
  for (size_t start = 0; start < tokens.size();) {
    size_t end = start;
    while (end < tokens.size() && isLinkToken(tokens[end])) ++end;
    if (isLink(std::span(tokens).subspan(start, end - start)))
      std::fill(inLink.begin() + start, inLink.begin() + end, true);
    start = end + 1;
  }
  return inLink;
}

// A day of the month in English: "8", "08" or "8th".
bool isDayOfMonth(const Token& token) {
  if (token.kind != Kind::kAlnum || token.digits == 0 || token.digits > 2) return false;
  const std::string_view text = token.text;
  const std::string_view suffix = text.substr(token.digits);
  return isDigitRun(token) || suffix == "st" || suffix == "nd" || suffix == "rd" || suffix == "th";
}

enum class Direction { kForward, kBackward };

// Past the first token, stepping backward gives an index past the last one.
size_t stepFrom(size_t i, Direction direction) {
  return direction == Direction::kForward ? i + 1 : i - 1;
}

// Where the code of a code word may stand.
enum class Side { kAfter, kEither };

// A possible code: the tokens it spans and the code they give.
struct Candidate {
  size_t first = 0;
  size_t last = 0;
  std::string code;
};

class CodeReader {
 public:
  explicit CodeReader(std::string_view sms)
      : sms_(sms), tokens_(tokensOf(sms)), inLink_(linkTokensOf(tokens_)) {}

  // The code beside the first code word that has one, else the first code standing alone.
  std::string code() const {
    for (size_t i = 0; i < tokens_.size(); ++i) {
      const std::optional<Side> side = codeWordEndingAt(i);
      if (!side) continue;
      if (auto candidate = codeBeside(i, *side)) return candidate->code;
    }
    for (size_t i = 0; i < tokens_.size(); ++i) {
      if (auto candidate = candidateAt(i, false)) return candidate->code;
    }
    return {};
  }

 private:
  std::optional<Side> codeWordEndingAt(size_t i) const {
    if (wordEndsAt(i, kPhoneNumber)) return std::nullopt;
    if (wordEndsAt(i, kPassword)) return Side::kAfter;
    const bool endsInCode =
        wordEndsAt(i, kCodeEnding) && i > 0 && tokens_[i - 1].kind == Kind::kHan;
    if (endsInCode || anyWordEndsAt(i, kCodeWords)) return Side::kEither;
    return std::nullopt;
  }

  // The first code after the word, else the nearest before it.
  std::optional<Candidate> codeBeside(size_t word, Side side) const {
    auto after = nearest(word, Direction::kForward, kNearCodeWord,
                         [&](size_t i) { return candidateAt(i, true); });
    if (after || side == Side::kAfter) return after;
    return nearest(word, Direction::kBackward, kNearCodeWord,
                   [&](size_t i) { return candidateAt(i, false); });
  }

  // The code that starts at token i, unless the rules below make it something else. Letters
  // count in a code only right after a code word; elsewhere they make an order or parcel id.
  std::optional<Candidate> candidateAt(size_t i, bool afterCodeWord) const {
    const Token& token = tokens_[i];
    if (token.kind != Kind::kAlnum || token.digits == 0) return std::nullopt;
    Candidate candidate{i, i, token.text};
    if (isSplitCode(i)) {
      candidate = {i, i + 2, token.text + tokens_[i + 2].text};
    } else {
      const bool codeLength =
          token.text.size() >= kShortestCode && token.text.size() <= kLongestCode;
      const bool lettersAllowed = afterCodeWord || token.digits == token.text.size();
      if (!codeLength || !lettersAllowed) return std::nullopt;
    }
    if (isSomethingElse(candidate)) return std::nullopt;
    return candidate;
  }

  // Two groups of three digits split by one blank or hyphen, as "573-106" or "573 106".
  bool isSplitCode(size_t i) const {
    if (i + 2 >= tokens_.size()) return false;
    const Token& split = tokens_[i + 1];
    const bool oneSplit =
        (split.kind == Kind::kBlank && split.characters == 1) || isMarkOf(split, "-");
    const auto threeDigits = [](const Token& group) {
      return isDigitRun(group) && group.digits == 3;
    };
    return oneSplit && threeDigits(tokens_[i]) && threeDigits(tokens_[i + 2]);
  }

  bool isSomethingElse(const Candidate& candidate) const {
    return joinsMoreDigits(candidate.first, Direction::kBackward) ||
           joinsMoreDigits(candidate.last, Direction::kForward) || isMasked(candidate) ||
           isInLink(candidate) || isDateOrTime(candidate) || isYearOfEnglishDate(candidate) ||
           isAmount(candidate) || isSaidJustBefore(candidate.first, kTailWords) ||
           isSaidJustBefore(candidate.first, kHotlineWords) || isSenderName(candidate);
  }

  // A run that goes on through a joining mark into more digits is a piece of a longer number:
  // 1356.00, 09:15, 2025/12/08, 400-820-8820; so is a group of a phone number split by blanks.
  bool joinsMoreDigits(size_t i, Direction direction) const {
    const size_t joint = stepFrom(i, direction);
    const size_t beyond = stepFrom(joint, direction);
    if (joint >= tokens_.size() || beyond >= tokens_.size()) return false;
    const Token& more = tokens_[beyond];
    if (more.kind != Kind::kAlnum || more.digits == 0) return false;
    const Token& between = tokens_[joint];
    if (between.kind == Kind::kBlank)
      return between.characters == 1 && isPhoneGroup(tokens_[i]) && isPhoneGroup(more);
    return isMarkOf(between, ".:/-");
  }

  // A card or account number with its first digits hidden: 6222****1234, XX1234.
  bool isMasked(const Candidate& candidate) const {
    const auto isStar = [&](size_t i) { return i < tokens_.size() && isMarkOf(tokens_[i], "*"); };
    const std::string& code = candidate.code;
    const size_t xs = code.find_first_not_of("Xx");
    const bool xsThenDigits = xs > 0 && xs != std::string::npos &&
                              code.find_first_not_of("0123456789", xs) == std::string::npos;
    return isStar(candidate.first - 1) || isStar(candidate.last + 1) || xsThenDigits;
  }

  bool isDateOrTime(const Candidate& candidate) const {
    const std::optional<size_t> after = besideOf(candidate.last, Direction::kForward);
    return after && anyWordEndsAt(*after, kTimeUnits);
  }

  // Digits in a link name a page or a parcel, whatever word stands before them. (Between the
  // first and last tokens of a code stands at most a split mark.)
  bool isInLink(const Candidate& candidate) const {
    return inLink_[candidate.first] || inLink_[candidate.last];
  }

  // The year of "Dec 8, 2024", "December 8th 2024", "Jan. 15, 2025" or "8 Dec 2024".
  bool isYearOfEnglishDate(const Candidate& candidate) const {
    const Token& year = tokens_[candidate.first];
    if (candidate.first != candidate.last || !isDigitRun(year) || year.digits != 4) return false;
    std::optional<size_t> before = besidePastMark(candidate.first);
    if (before && isDayOfMonth(tokens_[*before])) before = besidePastMark(*before);
    return before && anyWordEndsAt(*before, kMonths);
  }

  bool isAmount(const Candidate& candidate) const {
    const std::optional<size_t> before = besideOf(candidate.first, Direction::kBackward);
    const std::optional<size_t> after = besideOf(candidate.last, Direction::kForward);
    const bool signBefore =
        before && (isMarkOf(tokens_[*before], "$") || anyWordEndsAt(*before, kCurrencyWords));
    return signBefore || (after && anyWordEndsAt(*after, kCurrencyWords));
  }

  bool isSaidJustBefore(size_t first, std::span<const std::string_view> words) const {
    return nearest(first, Direction::kBackward, kNearContext,
                   [&](size_t i) { return anyWordEndsAt(i, words); });
  }

  // A sender's name is in the brackets that open the SMS ("【12306】"), or in brackets that hold
  // more than the number ("【铁路12306】"); brackets around the number alone, after a code word,
  // only set it off.
  bool isSenderName(const Candidate& candidate) const {
    const auto bracketAt = [&](size_t i) {
      const bool bracket =
          isMarkOf(tokens_[i], kOpenBrackets) || isMarkOf(tokens_[i], kCloseBrackets);
      return bracket ? std::optional<size_t>(i) : std::nullopt;
    };
    const auto open = nearest(candidate.first, Direction::kBackward, kLongestName, bracketAt);
    const auto close = nearest(candidate.last, Direction::kForward, kLongestName, bracketAt);
    if (!open || !close || !isMarkOf(tokens_[*open], kOpenBrackets) ||
        !isMarkOf(tokens_[*close], kCloseBrackets))
      return false;
    const bool opensSms = *open == 0 || (*open == 1 && tokens_[0].kind == Kind::kBlank);
    const bool holdsMore = *open + 1 != candidate.first || *close != candidate.last + 1;
    return opensSms || holdsMore;
  }

  // The token next to token i on one side, past one blank run.
  std::optional<size_t> besideOf(size_t i, Direction direction) const {
    size_t next = stepFrom(i, direction);
    if (next < tokens_.size() && tokens_[next].kind == Kind::kBlank)
      next = stepFrom(next, direction);
    return next < tokens_.size() ? std::optional<size_t>(next) : std::nullopt;
  }

  // The token before token i past a blank run, and past a comma or full stop with the blanks
  // before it, as between the parts of an English date.
  std::optional<size_t> besidePastMark(size_t i) const {
    std::optional<size_t> before = besideOf(i, Direction::kBackward);
    if (before && isMarkOf(tokens_[*before], ",."))
      before = besideOf(*before, Direction::kBackward);
    return before;
  }

  // The first thing `find` finds stepping from token `from`, passing at most `reach` tokens
  // (blanks are free) and never leaving the clause.
  template <typename Find>
  auto nearest(size_t from, Direction direction, size_t reach, Find find) const
      -> decltype(find(from)) {
    size_t passed = 0;
    for (size_t i = stepFrom(from, direction); i < tokens_.size() && passed <= reach;
         i = stepFrom(i, direction)) {
      if (endsClause(tokens_[i])) break;
      if (auto found = find(i)) return found;
      if (tokens_[i].kind != Kind::kBlank) ++passed;
    }
    return {};
  }

  // Whether `word` ends at token i: a Latin word is the whole run in any case, a Chinese word
  // the characters up to token i.
  bool wordEndsAt(size_t i, std::string_view word) const {
    const Token& token = tokens_[i];
    if (static_cast<unsigned char>(word.front()) < 0x80) {
      return token.kind == Kind::kAlnum &&
             std::ranges::equal(token.text, word, {}, lowerCase, lowerCase);
    }
    const size_t characters = word.size() / 2;
    if (token.kind != Kind::kHan || i + 1 < characters) return false;
    const size_t start = tokens_[i + 1 - characters].start;
    return token.end - start == word.size() && sms_.substr(start, word.size()) == word;
  }

  bool anyWordEndsAt(size_t i, std::span<const std::string_view> words) const {
    return std::ranges::any_of(words, [&](std::string_view word) { return wordEndsAt(i, word); });
  }

  std::string_view sms_;
  std::vector<Token> tokens_;
  std::vector<bool> inLink_;
};

}  // namespace

std::string verificationCode(std::string_view sms) {
  return CodeReader(sms).code();
}

}  // namespace velmora::protocol

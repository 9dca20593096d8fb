#include "skerry/ground/ProfileFile.h"

#include <algorithm>
#include <utility>

#include "skerry/ground/Text.h"

namespace skerry {

namespace {

// Settings and fit files are a few kilobytes; anything far larger is not one of them.
constexpr std::uintmax_t kMaxProfileBytes = std::uintmax_t{16} * 1024 * 1024;

bool isTrimmed(char c) {
    const auto u = static_cast<unsigned char>(c);
    return u == ' ' || (u >= 0x09 && u <= 0x0D) || u == 0x1A;
}

std::string_view trim(std::string_view text) {
    while (!text.empty() && isTrimmed(text.front())) {
        text.remove_prefix(1);
    }
    while (!text.empty() && isTrimmed(text.back())) {
        text.remove_suffix(1);
    }
    return text;
}

char lowerAscii(char c) {
    return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}

bool sameName(std::string_view a, std::string_view b) {
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               return lowerAscii(x) == lowerAscii(y);
           });
}

// What a line means to a look-up. `name` is the section name of a header or the key of an
// entry; `value` is set only for entries that have an '='.
struct LineMeaning {
    enum class Kind { Blank, Comment, Section, Entry };
    Kind kind = Kind::Blank;
    std::string_view name;
    std::optional<std::string_view> value;
};

LineMeaning interpret(std::string_view line) {
    const std::string_view text = trim(line);
    if (text.empty()) {
        return {};
    }
    if (text.front() == ';') {
        return {LineMeaning::Kind::Comment, {}, std::nullopt};
    }
    if (text.front() == '[') {
        const auto close = text.rfind(']');
        if (close != std::string_view::npos) {
            return {LineMeaning::Kind::Section, trim(text.substr(1, close - 1)), std::nullopt};
        }
    }
    const auto equals = text.find('=');
    if (equals == std::string_view::npos) {
        return {LineMeaning::Kind::Entry, text, std::nullopt};
    }
    return {LineMeaning::Kind::Entry, trim(text.substr(0, equals)), trim(text.substr(equals + 1))};
}

// The lines of a section: from just after its header up to the next header or the end.
struct SectionSpan {
    std::size_t header;
    std::size_t end;
};

std::optional<SectionSpan> findSection(const std::vector<std::string>& lines,
                                       std::string_view section) {
    const std::string_view wanted = trim(section);
    for (std::size_t i = 0; i < lines.size(); ++i) {
        const LineMeaning meaning = interpret(lines[i]);
        if (meaning.kind != LineMeaning::Kind::Section || !sameName(meaning.name, wanted)) {
            continue;
        }
        std::size_t end = i + 1;
        while (end < lines.size() && interpret(lines[end]).kind != LineMeaning::Kind::Section) {
            ++end;
        }
        return SectionSpan{i, end};
    }
    return std::nullopt;
}

// The first line of the span that is an entry with '=' for this key.
std::optional<std::size_t> findKey(const std::vector<std::string>& lines, SectionSpan span,
                                   std::string_view key) {
    const std::string_view wanted = trim(key);
    for (std::size_t i = span.header + 1; i < span.end; ++i) {
        const LineMeaning meaning = interpret(lines[i]);
        if (meaning.kind == LineMeaning::Kind::Entry && meaning.value &&
            sameName(meaning.name, wanted)) {
            return i;
        }
    }
    return std::nullopt;
}

std::string_view withoutQuotes(std::string_view value) {
    if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') &&
        value.back() == value.front()) {
        return value.substr(1, value.size() - 2);
    }
    return value;
}

std::string cutToBuffer(std::string_view text, std::size_t bufferSize) {
    const std::size_t room = bufferSize == 0 ? 0 : bufferSize - 1;
    return std::string(text.substr(0, std::min(text.size(), room)));
}

} // namespace

Outcome<ProfileFile> ProfileFile::read(const std::filesystem::path& path) {
    const auto bytes = readWholeFile(path, kMaxProfileBytes);
    if (!bytes) {
        return bytes.failure();
    }
    return parse(*bytes);
}

ProfileFile ProfileFile::load(const std::filesystem::path& path) {
    auto profile = read(path);
    return profile ? *std::move(profile) : ProfileFile();
}

ProfileFile ProfileFile::parse(std::string_view bytes) {
    ProfileFile profile;
    forEachLine(bytes, [&profile](std::string_view line, bool /*ended*/) {
        profile.lines_.emplace_back(line);
        return true;
    });
    return profile;
}

std::optional<std::string> ProfileFile::rawValue(std::string_view section,
                                                 std::string_view key) const {
    const auto span = findSection(lines_, section);
    if (!span) {
        return std::nullopt;
    }
    const auto line = findKey(lines_, *span, key);
    if (!line) {
        return std::nullopt;
    }
    return std::string(*interpret(lines_[*line]).value);
}

std::string ProfileFile::readString(std::string_view section, std::string_view key,
                                    std::string_view defaultValue, std::size_t bufferSize) const {
    const auto value = rawValue(section, key);
    if (!value) {
        const auto last = defaultValue.find_last_not_of(' ');
        const auto kept = last == std::string_view::npos ? 0 : last + 1;
        return cutToBuffer(defaultValue.substr(0, kept), bufferSize);
    }
    return cutToBuffer(withoutQuotes(*value), bufferSize);
}

std::int32_t ProfileFile::readInt(std::string_view section, std::string_view key,
                                  std::int32_t defaultValue) const {
    const auto value = rawValue(section, key);
    if (!value) {
        return defaultValue;
    }
    std::string_view text = withoutQuotes(*value);
    if (text.empty()) {
        return defaultValue;
    }
    while (!text.empty() && text.front() == ' ') {
        text.remove_prefix(1);
    }
    bool negative = false;
    if (!text.empty() && (text.front() == '+' || text.front() == '-')) {
        negative = text.front() == '-';
        text.remove_prefix(1);
    }
    // Unsigned arithmetic gives the modulo 2^32 wrap-around without overflow.
    std::uint32_t magnitude = 0;
    for (const char c : text) {
        if (c < '0' || c > '9') {
            break;
        }
        magnitude = magnitude * 10u + static_cast<std::uint32_t>(c - '0');
    }
    return static_cast<std::int32_t>(negative ? 0u - magnitude : magnitude);
}

void ProfileFile::write(std::string_view section, std::string_view key, std::string_view value) {
    const std::string_view sectionName = trim(section);
    const std::string_view keyName = trim(key);
    const auto span = findSection(lines_, sectionName);
    if (!span) {
        lines_.push_back("[" + std::string(sectionName) + "]");
        lines_.push_back(std::string(keyName) + "=" + std::string(value));
        return;
    }
    if (const auto line = findKey(lines_, *span, keyName)) {
        // Keep the key as the file spells it.
        const std::string spelling(interpret(lines_[*line]).name);
        lines_[*line] = spelling + "=" + std::string(value);
        return;
    }
    // After the last non-blank line of the section, so that blank lines separating it from the
    // next section stay where they are.
    std::size_t insertAt = span->header + 1;
    for (std::size_t i = span->header + 1; i < span->end; ++i) {
        if (interpret(lines_[i]).kind != LineMeaning::Kind::Blank) {
            insertAt = i + 1;
        }
    }
    lines_.insert(lines_.begin() + static_cast<std::ptrdiff_t>(insertAt),
                  std::string(keyName) + "=" + std::string(value));
}

std::string ProfileFile::bytes() const {
    std::string text;
    for (const auto& line : lines_) {
        text += line;
        text += "\r\n";
    }
    return text;
}

Done ProfileFile::save(const std::filesystem::path& path) const {
    return writeFileAtomically(path, bytes());
}

} // namespace skerry

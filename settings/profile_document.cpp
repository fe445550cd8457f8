#include "settings/profile_document.h"

namespace tavelin {

namespace {

bool IsSpace(wchar_t c) {
    return c == L' ' || c == L'\t' || c == L'\r' || c == L'\v' || c == L'\f';
}

std::wstring_view Trimmed(std::wstring_view text) {
    while (!text.empty() && IsSpace(text.front()))
        text.remove_prefix(1);
    while (!text.empty() && IsSpace(text.back()))
        text.remove_suffix(1);
    return text;
}

wchar_t FoldCase(wchar_t c) {
    return c >= L'a' && c <= L'z' ? static_cast<wchar_t>(c - L'a' + L'A') : c;
}

bool SameName(std::wstring_view a, std::wstring_view b) {
    if (a.size() != b.size())
        return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        if (FoldCase(a[i]) != FoldCase(b[i]))
            return false;
    }
    return true;
}

// "[name]" up to the line's last "]"; nullopt for any other line.
std::optional<std::wstring_view> SectionName(std::wstring_view line) {
    line = Trimmed(line);
    if (!line.starts_with(L'['))
        return std::nullopt;
    const std::size_t close = line.rfind(L']');
    if (close == std::wstring_view::npos)
        return std::nullopt;
    return line.substr(1, close - 1);
}

std::wstring_view KeyName(std::wstring_view line) {
    return Trimmed(line.substr(0, line.find(L'=')));
}

bool IsQuote(wchar_t c) {
    return c == L'"' || c == L'\'';
}

std::wstring Unquoted(std::wstring_view value) {
    if (value.size() >= 2 && IsQuote(value.front()) && value.back() == value.front())
        value = value.substr(1, value.size() - 2);
    return std::wstring(value);
}

std::wstring ValueOf(std::wstring_view line) {
    const std::size_t equals = line.find(L'=');
    if (equals == std::wstring_view::npos)
        return std::wstring();
    return Unquoted(Trimmed(line.substr(equals + 1)));
}

std::wstring AsWritten(std::wstring_view value) {
    if (Unquoted(Trimmed(value)) == value)
        return std::wstring(value);
    return L"\"" + std::wstring(value) + L"\"";
}

}  // namespace

ProfileDocument::ProfileDocument(std::wstring_view text) {
    bool styleSeen = false;
    while (!text.empty()) {
        const std::size_t newLine = text.find(L'\n');
        Line line;
        if (newLine == std::wstring_view::npos) {
            line.content = text;
            text = {};
        } else {
            const bool crlf = newLine > 0 && text[newLine - 1] == L'\r';
            line.content = text.substr(0, crlf ? newLine - 1 : newLine);
            line.end = crlf ? L"\r\n" : L"\n";
            text.remove_prefix(newLine + 1);
            if (!styleSeen)
                newLine_ = line.end, styleSeen = true;
        }
        lines_.push_back(std::move(line));
    }
}

std::optional<ProfileDocument::Place> ProfileDocument::Find(std::wstring_view section, std::wstring_view key) const {
    for (std::size_t i = 0; i < lines_.size(); ++i) {
        const std::optional<std::wstring_view> name = SectionName(lines_[i].content);
        if (!name || !SameName(*name, section))
            continue;
        Place place{i, std::nullopt};
        for (std::size_t k = i + 1; k < lines_.size() && !SectionName(lines_[k].content); ++k) {
            if (SameName(KeyName(lines_[k].content), key)) {
                place.keyLine = k;
                break;
            }
        }
        return place;
    }
    return std::nullopt;
}

std::optional<std::wstring> ProfileDocument::Get(std::wstring_view section, std::wstring_view key) const {
    const std::optional<Place> place = Find(section, key);
    if (!place || !place->keyLine)
        return std::nullopt;
    return ValueOf(lines_[*place->keyLine].content);
}

// Just after the section's last line that is not blank, so that blank lines before the next
// section stay where the user put them.
std::size_t ProfileDocument::SectionEnd(std::size_t sectionLine) const {
    std::size_t end = sectionLine + 1;
    for (std::size_t k = sectionLine + 1; k < lines_.size() && !SectionName(lines_[k].content); ++k) {
        if (!Trimmed(lines_[k].content).empty())
            end = k + 1;
    }
    return end;
}

void ProfileDocument::Insert(std::size_t at, std::wstring content) {
    // A last line without a line end gets one before anything follows it; after a "\r" of its
    // own only "\r\n" keeps that "\r" in the line.
    if (at > 0 && lines_[at - 1].end.empty())
        lines_[at - 1].end = lines_[at - 1].content.ends_with(L'\r') ? L"\r\n" : newLine_;
    lines_.insert(lines_.begin() + static_cast<std::ptrdiff_t>(at), Line{std::move(content), newLine_});
}

void ProfileDocument::Set(std::wstring_view section, std::wstring_view key, std::wstring_view value) {
    const std::wstring keyLine = std::wstring(key) + L"=" + AsWritten(value);
    const std::optional<Place> place = Find(section, key);
    if (!place) {
        Insert(lines_.size(), L"[" + std::wstring(section) + L"]");
        Insert(lines_.size(), keyLine);
    } else if (!place->keyLine) {
        Insert(SectionEnd(place->sectionLine), keyLine);
    } else {
        std::wstring& content = lines_[*place->keyLine].content;
        if (ValueOf(content) == value)
            return;
        // The key keeps its spelling and the spaces the user put around "=".
        const std::size_t equals = content.find(L'=');
        if (equals == std::wstring::npos) {
            content = Trimmed(content);
            content += L"=" + AsWritten(value);
        } else {
            std::size_t start = equals + 1;
            while (start < content.size() && IsSpace(content[start]))
                ++start;
            content = content.substr(0, start) + AsWritten(value);
        }
    }
    changed_ = true;
}

std::wstring ProfileDocument::Text() const {
    std::wstring text;
    for (const Line& line : lines_)
        text += line.content + line.end;
    return text;
}

}  // namespace tavelin

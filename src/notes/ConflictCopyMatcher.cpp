#include "notes/ConflictCopyMatcher.h"

#include <algorithm>

namespace {

std::string Lower(std::string_view text)
{
    std::string lower(text);
    std::transform(lower.begin(), lower.end(), lower.begin(),
                   [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; });
    return lower;
}

bool IsDigit(char c)
{
    return c >= '0' && c <= '9';
}

bool IsCapital(char c)
{
    return c >= 'A' && c <= 'Z';
}

bool AllDigits(std::string_view text)
{
    return !text.empty() && std::all_of(text.begin(), text.end(), IsDigit);
}

}  // namespace

ConflictCopyMatcher::ConflictCopyMatcher(std::string_view original)
{
    const size_t dot = original.find_last_of('.');
    m_stem = Lower(dot == std::string_view::npos ? original : original.substr(0, dot));
    m_extension = dot == std::string_view::npos ? std::string() : Lower(original.substr(dot));
}

bool ConflictCopyMatcher::Matches(std::string_view fileName) const
{
    const std::string name = Lower(fileName);
    if (name.size() <= m_stem.size() + m_extension.size() || !name.starts_with(m_stem) ||
        !name.ends_with(m_extension))
        return false;
    const size_t middleSize = name.size() - m_stem.size() - m_extension.size();
    const std::string_view middle = std::string_view(name).substr(m_stem.size(), middleSize);
    return IsSyncthingMiddle(middle) || IsConflictedCopyMiddle(middle) ||
           IsComputerNameMiddle(fileName.substr(m_stem.size(), middleSize));
}

bool ConflictCopyMatcher::IsSyncthingMiddle(std::string_view middle) const
{
    // ".sync-conflict-YYYYMMDD-HHMMSS-DEVICE"
    constexpr std::string_view kMark = ".sync-conflict-";
    if (!middle.starts_with(kMark))
        return false;
    const std::string_view rest = middle.substr(kMark.size());
    return rest.size() > 16 && AllDigits(rest.substr(0, 8)) && rest[8] == '-' && AllDigits(rest.substr(9, 6)) &&
           rest[15] == '-';
}

bool ConflictCopyMatcher::IsConflictedCopyMiddle(std::string_view middle)
{
    // " (Anna's conflicted copy 2026-12-09)", " (conflicted copy 2026-12-09 064512)"
    return middle.starts_with(" (") && middle.ends_with(")") && middle.find("conflicted copy") != std::string_view::npos;
}

bool ConflictCopyMatcher::IsComputerNameMiddle(std::string_view middle)
{
    // "-LAPTOP": a computer's name as Windows gives it, at most 15 capitals,
    // digits and hyphens, never digits alone. So "notes-2.dat", a dated
    // backup's name or "notes-work.dat" (a second notes file the user keeps
    // and starts with its path) is not one.
    if (middle.size() < 2 || middle.size() > 16 || middle[0] != '-')
        return false;
    const std::string_view name = middle.substr(1);
    const bool allowed = std::all_of(name.begin(), name.end(),
                                     [](char c) { return IsCapital(c) || IsDigit(c) || c == '-' || c == '_'; });
    return allowed && std::any_of(name.begin(), name.end(), IsCapital);
}

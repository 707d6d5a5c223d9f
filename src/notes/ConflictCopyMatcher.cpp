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

bool IsLetter(char c)
{
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
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
    const std::string_view middle =
        std::string_view(name).substr(m_stem.size(), name.size() - m_stem.size() - m_extension.size());
    return IsSyncthingMiddle(middle) || IsConflictedCopyMiddle(middle) || IsComputerNameMiddle(middle);
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
    // "-LAPTOP": a computer's name is at most 15 letters, digits and hyphens,
    // never digits alone, so "notes-2.dat" or a dated backup's name is not one.
    if (middle.size() < 2 || middle.size() > 16 || middle[0] != '-')
        return false;
    const std::string_view name = middle.substr(1);
    const bool allowed = std::all_of(name.begin(), name.end(),
                                     [](char c) { return IsLetter(c) || IsDigit(c) || c == '-' || c == '_'; });
    return allowed && std::any_of(name.begin(), name.end(), IsLetter);
}

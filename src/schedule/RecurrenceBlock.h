#pragma once
// Typed access to a note's 50-byte recurrence block (m_recur). Its fields
// overlap: what the bytes mean depends on the schedule kind. Values are
// little-endian; the signed ones are read sign-extended. Writers touch only
// the bytes their kind names, so the other bytes keep what they held.
#include <array>
#include <cstdint>
#include <cstring>

#include "notes/CNote.h"

using RecurBytes = std::array<uint8_t, kRecurBytes>;

// Reads a block. Cheap to make: it holds a pointer to the note's bytes.
class RecurrenceView {
public:
    explicit RecurrenceView(const RecurBytes& bytes) : m_bytes(bytes.data()) {}

    // Daily (kind 1).
    int16_t EveryDays() const { return static_cast<int16_t>(U16(0)); }
    uint16_t Weekdays() const { return U16(2); }

    // Weekly (kind 2).
    int16_t EveryWeeks() const { return static_cast<int16_t>(U16(0)); }
    uint16_t DayMask() const { return U16(2); }  // bit 0 Sunday .. bit 6 Saturday

    // Monthly (kind 3).
    uint16_t ByWeekday() const { return U16(0); }
    int32_t Ordinal() const { return static_cast<int32_t>(U32(4)); }  // 0 First .. 3 Fourth, 4 Last
    int16_t Weekday() const { return static_cast<int16_t>(U16(8)); }  // 0 Sunday .. 6 Saturday
    int16_t MonthDay() const { return static_cast<int16_t>(U16(10)); }
    uint16_t MonthMask() const { return U16(12); }  // bit 0 January .. bit 11 December

private:
    uint16_t U16(size_t at) const
    {
        return static_cast<uint16_t>(m_bytes[at] | (m_bytes[at + 1] << 8));
    }
    uint32_t U32(size_t at) const
    {
        return static_cast<uint32_t>(m_bytes[at]) | (static_cast<uint32_t>(m_bytes[at + 1]) << 8) |
               (static_cast<uint32_t>(m_bytes[at + 2]) << 16) | (static_cast<uint32_t>(m_bytes[at + 3]) << 24);
    }

    const uint8_t* m_bytes;
};

// Writes a block the way each kind is confirmed.
class RecurrenceBlock : public RecurrenceView {
public:
    explicit RecurrenceBlock(RecurBytes& bytes) : RecurrenceView(bytes), m_bytes(bytes.data()) {}

    // Daily: the first four bytes only. With weekdays set the day count is
    // stored as 0.
    void SetDaily(int16_t everyDays, bool weekdays)
    {
        PutU16(0, static_cast<uint16_t>(weekdays ? 0 : everyDays));
        PutU16(2, weekdays ? 1 : 0);
    }

    // Weekly: the first four bytes only.
    void SetWeekly(int16_t everyWeeks, uint16_t dayMask)
    {
        PutU16(0, static_cast<uint16_t>(everyWeeks));
        PutU16(2, dayMask);
    }

    // Monthly: the first sixteen bytes, every one not named written as 0.
    void SetMonthlyByWeekday(int32_t ordinal, int16_t weekday, uint16_t monthMask)
    {
        std::memset(m_bytes, 0, kMonthlyBytes);
        PutU16(0, 1);
        PutU32(4, static_cast<uint32_t>(ordinal));
        PutU16(8, static_cast<uint16_t>(weekday));
        PutU16(12, monthMask);
    }
    void SetMonthlyByDay(int16_t monthDay, uint16_t monthMask)
    {
        std::memset(m_bytes, 0, kMonthlyBytes);
        PutU16(10, static_cast<uint16_t>(monthDay));
        PutU16(12, monthMask);
    }

private:
    static constexpr size_t kMonthlyBytes = 16;

    void PutU16(size_t at, uint16_t v)
    {
        m_bytes[at] = static_cast<uint8_t>(v);
        m_bytes[at + 1] = static_cast<uint8_t>(v >> 8);
    }
    void PutU32(size_t at, uint32_t v)
    {
        PutU16(at, static_cast<uint16_t>(v));
        PutU16(at + 2, static_cast<uint16_t>(v >> 16));
    }

    uint8_t* m_bytes;
};

// Where a message is about, beside the three report functions: a place set
// for the duration of one report call, which a hook may read. The report
// functions and their hooks are unchanged; a hook that does not ask sees
// nothing of it.
#pragma once

#include <cstdint>

struct ReportPlace {
    enum Kind : uint8_t {
        None,        // about no place of the source (an output file, a status line)
        WholeSource, // about the source as a whole
        Offset,      // about one byte of it
    };
    Kind kind = None;
    // For Offset: a byte offset in the source text handed to the build.
    uint64_t offset = 0;

    static ReportPlace At(uint64_t offset) { return {Offset, offset}; }
    static ReportPlace Whole() { return {WholeSource, 0}; }
};

// The place of the report call in progress (None outside one).
ReportPlace CurrentReportPlace();

// Makes `place` the current place while it lives; scopes nest.
class CReportPlaceScope {
public:
    explicit CReportPlaceScope(const ReportPlace& place);
    ~CReportPlaceScope();
    CReportPlaceScope(const CReportPlaceScope&) = delete;
    CReportPlaceScope& operator=(const CReportPlaceScope&) = delete;

private:
    ReportPlace m_saved;
};

// Turns offsets of a rewritten text (the prepared source) back into
// offsets of the text as it was given.
class IReportPlaceMap {
public:
    virtual ~IReportPlaceMap() = default;
    virtual uint64_t GivenOffset(uint64_t rewritten) const = 0;
};

// While it lives, places reported as offsets of the rewritten text
// (ReportPlaceInText) go through `map`; without one they are taken as they
// are. Scopes nest.
class CReportPlaceMapScope {
public:
    explicit CReportPlaceMapScope(const IReportPlaceMap* map);
    ~CReportPlaceMapScope();
    CReportPlaceMapScope(const CReportPlaceMapScope&) = delete;
    CReportPlaceMapScope& operator=(const CReportPlaceMapScope&) = delete;

private:
    const IReportPlaceMap* m_saved;
};

// A place given as an offset of the rewritten text, translated by the map
// in force; None and WholeSource pass unchanged.
ReportPlace GivenPlace(const ReportPlace& inText);

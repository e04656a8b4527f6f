#include "framework/core/ReportPlace.h"

namespace {

// Per thread, so that builds on separate threads keep their own places.
thread_local ReportPlace t_place;
thread_local const IReportPlaceMap* t_map = nullptr;

} // namespace

ReportPlace CurrentReportPlace()
{
    return t_place;
}

CReportPlaceScope::CReportPlaceScope(const ReportPlace& place) : m_saved(t_place)
{
    t_place = place;
}

CReportPlaceScope::~CReportPlaceScope()
{
    t_place = m_saved;
}

CReportPlaceMapScope::CReportPlaceMapScope(const IReportPlaceMap* map) : m_saved(t_map)
{
    t_map = map;
}

CReportPlaceMapScope::~CReportPlaceMapScope()
{
    t_map = m_saved;
}

ReportPlace GivenPlace(const ReportPlace& inText)
{
    if (inText.kind != ReportPlace::Offset || !t_map)
        return inText;
    return ReportPlace::At(t_map->GivenOffset(inText.offset));
}

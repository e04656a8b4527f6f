#include "book/InfoRecList.h"

#include <string>

#include "book/RecordNames.h"
#include "framework/core/MessageGate.h"

InfoRecList::InfoRecList() : m_bytes(100)
{
}

void InfoRecList::Add(std::string_view text)
{
    const std::string value = StoredName(text, text.size());
    if (value.size() >= kLongString)
        ReportMessage(kReportWarning, MessageRule::NotInBatch, ReportPlace::Whole(),
                      "The string \"%s\" is longer than %d characters; is this necessary?", value.c_str(),
                      static_cast<int>(kLongString - 1));
    m_bytes.Append(value.c_str(), static_cast<uint32_t>(value.size()) + 1);
}

// Metadata record. Layout: docs/ldb-format.md, "Metadata record".
void InfoRecList::AppendRecord(uint32_t i, CMemBuffer& out) const
{
    if (i == 0)
        out.AppendBuffer(m_bytes);
}

#include "app/VellumixInfoDialog.h"

#include <algorithm>

#include "app/VellumixApplication.h"
#include "framework/core/RkMessage.h"
#include "framework/text/LocalStrings.h"
#include "framework/ui/RkControls.h"
#include "framework/ui/RkGraphicsImp.h"

namespace {

CRkString Local(uint32_t id)
{
    const CRkString* text = GetLocalString(id);
    return text ? CRkString(*text) : CRkString();
}

CRkString Label(uint32_t id)
{
    const CRkString* text = GetLocalLabel(id);
    return text ? CRkString(*text) : CRkString();
}

// Text fields are this many average characters wide.
constexpr int32_t kFieldChars = 40;
// The caption strings, in row order.
constexpr uint32_t kCaptionStrings[5] = {21, 22, 23, 24, 25};

} // namespace

struct CVellumixInfoDialog::Arrangement {
    RkRect captions[5], fields[5], note, explanation, ok, cancel;
    RkSize client;
};

CVellumixInfoDialog::CVellumixInfoDialog(const CBookInfo& info, IRkMessageTarget* target, CRkWindow* owner)
    : CRkModalDialog(kInfoDialogId, kMsgInfoDismissed, target, owner, Local(295)), m_info(info)
{
    m_ok = new CRkButton(this, kButtonOK, Local(0));
    m_ok->SetProperty(kPropDefaultButton, 1);
    m_cancel = new CRkButton(this, kButtonCancel, Local(1));
    m_cancel->SetProperty(kPropCancelButton, 1);
    const int32_t fieldWidth = kFieldChars * GetFont().GetAverageCharWidth();
    for (uint32_t row = 0; row < 5; ++row) {
        m_captions[row] = new CRkLabel(this, kInfoTitleCaption + row, Label(kCaptionStrings[row]));
        m_fields[row] = new CRkTextField(this, kInfoTitleField + row);
        RkSize natural = m_fields[row]->GetPreferredSize();
        m_fields[row]->SetPreferredSizeOverride({fieldWidth, natural.height});
    }
    m_note = new CRkLabel(this, kInfoNote, Local(294));
    m_explanation = new CRkLabel(this, kInfoExplanation, Local(293));
    const CRkString* values[5] = {&m_info.title, &m_info.author, &m_info.publisher, &m_info.copyright, &m_info.eISBN};
    for (uint32_t row = 0; row < 5; ++row)
        m_fields[row]->SetText(*values[row]);
    AddHandler(this, false);
    const RkSize size = Arrange().client;
    m_explanation->SetWrapWidth(size.width - 2 * ConvertDistance(5));
    SetSize(size.width, size.height);
    LayoutChildren();
}

CVellumixInfoDialog::~CVellumixInfoDialog()
{
    if (CVellumixApplication* app = dynamic_cast<CVellumixApplication*>(CRkApplication::Get()))
        app->WindowGone(this);
}

CVellumixInfoDialog::Arrangement CVellumixInfoDialog::Arrange() const
{
    const int32_t s2 = ConvertDistance(2), s3 = ConvertDistance(3), s5 = ConvertDistance(5);
    Arrangement a;
    int32_t captionWidth = 0, rowHeight = 0;
    for (uint32_t row = 0; row < 5; ++row) {
        RkSize caption = m_captions[row]->GetPreferredSize();
        RkSize field = m_fields[row]->GetPreferredSize();
        captionWidth = std::max(captionWidth, caption.width);
        rowHeight = std::max({rowHeight, caption.height, field.height});
    }
    int32_t top = s5;
    int32_t fieldsRight = 0;
    for (uint32_t row = 0; row < 5; ++row) {
        RkSize caption = m_captions[row]->GetPreferredSize();
        RkSize field = m_fields[row]->GetPreferredSize();
        a.captions[row] = {s5 + captionWidth - caption.width, top + (rowHeight - caption.height) / 2, caption.width,
                           caption.height};
        a.fields[row] = {s5 + captionWidth + s2, top + (rowHeight - field.height) / 2, field.width, field.height};
        fieldsRight = std::max(fieldsRight, a.fields[row].Right());
        if (row == 0) {
            // The note sits under the title field, and the next row below it.
            RkSize note = m_note->GetPreferredSize();
            a.note = {a.fields[0].Right() - note.width, a.fields[0].Bottom(), note.width, note.height};
            top = std::max(top + rowHeight, a.note.Bottom()) + s3;
        } else {
            top += rowHeight + s3;
        }
    }
    const int32_t rowsBottom = top - s3;
    RkSize ok = m_ok->GetPreferredSize(), cancel = m_cancel->GetPreferredSize();
    const int32_t buttonWidth = std::max(ok.width, cancel.width);
    const int32_t buttonHeight = std::max(ok.height, cancel.height);
    const int32_t explanationHeight = 4 * buttonHeight;
    a.client = {fieldsRight + s5, rowsBottom + s5 + explanationHeight + s5 + buttonHeight + s5};

    RkSize actual = GetSize();
    const int32_t width = actual.width > 0 ? actual.width : a.client.width;
    const int32_t height = actual.height > 0 ? actual.height : a.client.height;
    a.cancel = {width - s5 - buttonWidth, height - s5 - buttonHeight, buttonWidth, buttonHeight};
    a.ok = {a.cancel.x - s5 - buttonWidth, a.cancel.y, buttonWidth, buttonHeight};
    a.explanation = {s5, a.cancel.y - s5 - explanationHeight, width - 2 * s5, explanationHeight};
    return a;
}

RkSize CVellumixInfoDialog::GetPreferredSize() const
{
    return Arrange().client;
}

void CVellumixInfoDialog::LayoutChildren()
{
    const Arrangement a = Arrange();
    auto place = [](CRkComponent* control, const RkRect& r) { control->SetBounds(r.x, r.y, r.width, r.height); };
    for (uint32_t row = 0; row < 5; ++row) {
        place(m_captions[row], a.captions[row]);
        place(m_fields[row], a.fields[row]);
    }
    place(m_note, a.note);
    place(m_explanation, a.explanation);
    place(m_ok, a.ok);
    place(m_cancel, a.cancel);
}

void CVellumixInfoDialog::ReadFields()
{
    CRkString* values[5] = {&m_info.title, &m_info.author, &m_info.publisher, &m_info.copyright, &m_info.eISBN};
    for (uint32_t row = 0; row < 5; ++row)
        m_fields[row]->GetText(*values[row]);
}

bool CVellumixInfoDialog::HandleMessage(uint16_t message, CRkMessage* payload, IRkMessageTarget&)
{
    if (message != kMsgCommand && message != kMsgCommandStatus)
        return false;
    CRkCommand* command = dynamic_cast<CRkCommand*>(payload);
    if (!command)
        return false;
    const uint32_t number = command->GetCommand();
    const bool ours =
        number == kButtonOK || number == kButtonCancel || (number >= kInfoTitleCaption && number <= kInfoIsbnField);
    if (!ours)
        return false;
    if (message == kMsgCommandStatus) {
        if (number == kButtonOK) {
            CRkString title;
            m_fields[0]->GetText(title);
            command->SetEnabled(!title.IsEmpty());
        } else {
            command->SetEnabled(true);
        }
        return true;
    }
    if (number == kButtonOK || number == kButtonCancel) {
        ReadFields();
        Dismiss(number);
    } else if (number == kInfoTitleField) {
        // OK follows the title as it is typed.
        CRkModalDialog::HandleMessage(kMsgCommandsChanged, nullptr);
    }
    return true;
}

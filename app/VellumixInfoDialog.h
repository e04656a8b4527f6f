// The book information dialog: asks for the title of a source that has
// none (and lets the user fill in the other fields). It edits its own copy
// of the book information; its dismissal (message 61) tells the target
// which button closed it.
#pragma once

#include <cstdint>

#include "book/BookInfo.h"
#include "framework/ui/RkModalDialog.h"

class CRkButton;
class CRkLabel;
class CRkTextField;

// Controls of the dialog.
enum : uint32_t {
    kInfoTitleCaption = 337, // 337 to 341: the captions
    kInfoNote = 342,
    kInfoExplanation = 343,
    kInfoTitleField = 344, // 344 to 348: title, author, publisher, copyright, ISBN
    kInfoAuthorField = 345,
    kInfoPublisherField = 346,
    kInfoCopyrightField = 347,
    kInfoIsbnField = 348,
};

inline constexpr uint16_t kInfoDialogId = 295;

class CVellumixInfoDialog : public CRkModalDialog, public IRkMessageHandler {
public:
    // `target` (the application when null) gets message 61 when it closes.
    CVellumixInfoDialog(const CBookInfo& info, IRkMessageTarget* target, CRkWindow* owner);
    ~CVellumixInfoDialog() override;

    // The fields as they were when OK or Cancel was pressed.
    const CBookInfo& GetInfo() const { return m_info; }

    // IRkMessageHandler: OK is enabled while the title is not empty; OK and
    // Cancel read the fields and dismiss the dialog.
    bool HandleMessage(uint16_t message, CRkMessage* payload, IRkMessageTarget& rest) override;
    using CRkModalDialog::HandleMessage;

    void LayoutChildren() override;
    RkSize GetPreferredSize() const override;

private:
    struct Arrangement;
    Arrangement Arrange() const;
    void ReadFields();

    CRkButton* m_ok;
    CRkButton* m_cancel;
    CRkLabel* m_captions[5];
    CRkLabel* m_note;
    CRkLabel* m_explanation;
    CRkTextField* m_fields[5]; // title, author, publisher, copyright, ISBN
    CBookInfo m_info;
};

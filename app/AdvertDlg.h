#pragma once

// The advert window: a read-only rich-text page about the program QMX and a link to its page on
// the maker's web site. Clicks into the page are swallowed, so that it never gets a caret, a
// selection or a context menu; its scroll bars work.

#include "app/LinkStatic.h"
#include "toolkit/Dialog.h"

#include <string_view>

// The system's rich-text control (msftedit.dll), showing an RTF document.
class CRichText : public CWnd
{
public:
    // Registers the control's window class for this process; false when the system has none.
    static bool LoadControlLibrary();
    // Replaces the document; false when the control refused it.
    bool StreamInRtf(std::string_view rtf) const;
};

class CAdvertDlg : public CDialog
{
public:
    explicit CAdvertDlg(CWnd* parent = nullptr);

    CRichText richText;
    CLinkStatic link;

    BOOL PreTranslateMessage(MSG* msg) override;

protected:
    void BindControls() override;
    BOOL OnInitDialog() override;
};

// The advert command, and the advert window at start.
inline void ShowAdvert(CWnd& owner)
{
    CAdvertDlg(&owner).DoModal();
}

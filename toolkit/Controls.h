#pragma once

// Thin control classes; the program derives its own controls from them.

#include "toolkit/Wnd.h"

class CStatic : public CWnd
{
};

class CEdit : public CWnd
{
public:
    void SetSel(int start, int end) const
    {
        SendMessage(EM_SETSEL, static_cast<WPARAM>(start), end);
    }
    void ScrollCaret() const { SendMessage(EM_SCROLLCARET); }
};

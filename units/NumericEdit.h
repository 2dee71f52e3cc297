#pragma once

// An edit field for a decimal number: typing lets through only digits, '.', ',', '-' and
// backspace, and GetValue reads the text (units/NumericText.h) and shows it in fixed-point form.

#include "toolkit/Controls.h"

class CNumericEdit : public CEdit
{
public:
    explicit CNumericEdit(int decimals) : decimals_(decimals) {}

    // The value of the text; for a malformed text, "Nieprawidłowy format danych." is shown and
    // NUMERIC_FORMAT_ERROR answered, the text left as typed. Otherwise the text is rewritten in
    // fixed-point form when it differs, and the caret put after its end.
    double GetValue();

protected:
    LRESULT WindowProc(UINT msg, WPARAM wParam, LPARAM lParam) override;

private:
    int decimals_;
};

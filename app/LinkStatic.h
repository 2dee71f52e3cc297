#pragma once

// CLinkStatic: a static text that looks and behaves as a web link: underlined, coloured (unvisited,
// visited, under the mouse), a hand cursor, a tooltip with the target, and a click that opens the
// target in the user's browser, through the shell or else through the program registered for web
// pages.

#include "toolkit/Controls.h"
#include "toolkit/Gdi.h"
#include "toolkit/UserHandles.h"

#include <string>

class CLinkStatic : public CStatic
{
public:
    CLinkStatic();
    ~CLinkStatic() override;

    // Replaces what a click opens; the shown text stays.
    void SetTarget(const std::string& target);
    void MarkVisited(bool visited);
    // Shrinks the control to its text, keeping its alignment, so that only the text reacts.
    void FitToText();

    // Opens the target in the user's browser. Answers a code above 32 on success, else the code of
    // the failure (the shell's, or that of the fallback's start).
    int OpenLink(const std::string& target, int showCommand) const;
    // "Unable to open hyperlink:" with the text for the code, in the application's message box.
    static void ShowOpenError(int code);
    // The default value of a registry key, as text. ERROR_SUCCESS, or why there is none.
    static LSTATUS ReadDefaultRegValue(HKEY hive, const std::string& subKey,
                                       std::string& destination);

    const std::string& Target() const { return target_; }
    bool Visited() const { return visited_; }
    bool Hovering() const { return hover_; }
    bool HasLinkCursor() const { return static_cast<bool>(linkCursor_); }
    HWND Tooltip() const { return tooltip_.Get(); }

    // Where the fallback looks for the program registered for web pages.
    HKEY classesRoot = HKEY_CLASSES_ROOT;

    BOOL PreTranslateMessage(MSG* msg) override;

protected:
    LRESULT WindowProc(UINT msg, WPARAM wParam, LPARAM lParam) override;
    bool OnChildNotify(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT* result) override;
    void OnAttached() override;

private:
    void LoadLinkCursor();
    void CreateTooltip();
    // TTM_ADDTOOLW or TTM_UPDATETIPTEXTW for the one tool: the whole control, showing the target.
    void SendToolInfo(UINT message);
    void OnMouseMove(POINT point);
    void OnClicked();
    HBRUSH OnCtlColor(HDC dc) const;

    COLORREF unvisitedColour_ = RGB(0, 0, 238);
    COLORREF visitedColour_ = RGB(85, 26, 139);
    COLORREF hoverColour_;
    bool hover_ = false;
    bool visited_ = false;
    bool underline_ = true;
    bool fitToText_ = true;
    std::string target_; // UTF-8
    FontHandle linkFont_;
    UniqueIcon linkCursor_;
    UniqueWindow tooltip_;
};

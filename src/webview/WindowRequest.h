#pragma once

#include <QString>

// What a page's request for a new window came with: an act of the person's, or none.
enum class WindowGesture {
    None, // a script of the page asks on its own
    Click, // a click of the person's, of any button
    EnterKey, // Enter, as on a focused link
    OtherKey, // any other key: typing into the page
    LinkMenu, // the person chose "Open link in new window" from the page's menu
};

// A request for a new window, as the view knows it when it asks.
struct WindowRequest
{
    WindowGesture gesture = WindowGesture::None;
    // The link under the pointer (or the focused one) as the status line shows it; empty when
    // the status line shows no link.
    QString link;
    QString address; // what the window is to open
    // The site (scheme://host) of the page that asks; empty when the person asked through the
    // link's menu, which no page asks for.
    QString site;
    int windowsOpen = 0; // windows the view opened for pages that are still open
    // The person's own navigations (an address, Back, Forward, Home, Search, Refresh) so far:
    // a change tells that the person went somewhere since the last request.
    quint64 personNavigations = 0;

    bool FromUser() const { return gesture != WindowGesture::None; }
};

// The answer the view obeys. It starts as a refusal: a window opens only when someone says so,
// and a view nobody listens to opens none.
struct WindowAnswer
{
    bool cancel = true; // the window does not open at all
    // The site of the request may open no more windows on its own until the person goes
    // somewhere of their own: the view stops hearing it, also after it reloads itself.
    bool siteUnheard = false;
};

#pragma once

// What a page's request for a new window came with: an act of the person's, or none.
enum class WindowGesture {
    None, // a script of the page asks on its own
    Click, // a click of the person's, of any button
    EnterKey, // Enter, as on a focused link
    OtherKey, // any other key: typing into the page
    LinkMenu, // the person chose "Open link in new window" from the page's menu
};

#pragma once

#include <QString>

// What the start does for its first page, from the command line, the address another instance
// handed over, and the Start Up preference.
struct FirstPagePlan
{
    enum class Go {
        Nothing, // no navigation
        Address, // Navigate to address
        HomePage, // the Home slot: its stored page, else the view's own home page
    };
    enum class Marks { Keep, Blank, Home };

    Go go = Go::Nothing;
    QString address;
    bool consumeHandoff = false; // empty the hand-off file once its address is taken
    Marks marks = Marks::Keep;

    bool operator==(const FirstPagePlan &o) const
    {
        return go == o.go && address == o.address && consumeHandoff == o.consumeHandoff
            && marks == o.marks;
    }
};

FirstPagePlan DecideFirstPage(const QString &commandLine, const QString &handoff,
                              const QString &startMode);

#include "browser/FirstPage.h"

namespace {

FirstPagePlan::Marks MarksFor(const QString &startMode)
{
    if (startMode == QLatin1String("Blank"))
        return FirstPagePlan::Marks::Blank;
    if (startMode == QLatin1String("Home"))
        return FirstPagePlan::Marks::Home;
    return FirstPagePlan::Marks::Keep;
}

} // namespace

FirstPagePlan DecideFirstPage(const QString &commandLine, const QString &handoff,
                              const QString &startMode)
{
    FirstPagePlan plan;
    plan.marks = MarksFor(startMode);
    if (!commandLine.isEmpty()) {
        // The command line wins; a pending hand-off stays for a later start without one.
        plan.go = FirstPagePlan::Go::Address;
        plan.address = commandLine;
        return plan;
    }
    if (!handoff.isEmpty()) {
        plan.go = FirstPagePlan::Go::Address;
        plan.address = handoff;
        plan.consumeHandoff = true;
        return plan;
    }
    switch (plan.marks) {
    case FirstPagePlan::Marks::Blank:
        plan.go = FirstPagePlan::Go::Address;
        plan.address = QStringLiteral("about:blank");
        break;
    case FirstPagePlan::Marks::Home:
        plan.go = FirstPagePlan::Go::HomePage;
        break;
    case FirstPagePlan::Marks::Keep:
        break;
    }
    return plan;
}

#include "framework/ui/TTabChanging.h"

#include <QApplication>
#include <QLabel>
#include <QTabBar>
#include <QTabWidget>
#include <QTest>
#include <QWheelEvent>
#include <gtest/gtest.h>

namespace {

// Four tabs, the third disabled; the handler notes the tab that was current
// when it ran and answers with allow.
struct Tabs : ::testing::Test {
    QTabWidget tabs;
    TTabChanging changing{&tabs};
    QList<int> seenAt;
    bool allow = true;

    Tabs()
    {
        for (const char* name : {"Eins", "Zwei", "Drei", "Vier"})
            tabs.addTab(new QLabel(name), name);
        tabs.setTabEnabled(2, false);
        tabs.resize(400, 200);
        tabs.show();
        changing.OnChanging = [this](QObject* sender, bool& allowChange) {
            EXPECT_EQ(sender, &tabs);
            EXPECT_TRUE(allowChange);
            seenAt << tabs.currentIndex();
            allowChange = allow;
        };
    }

    QTabBar* bar() const { return tabs.tabBar(); }
    void click(int index) { QTest::mouseClick(bar(), Qt::LeftButton, {}, bar()->tabRect(index).center()); }
    void wheel(int delta)
    {
        const QPointF at = bar()->tabRect(tabs.currentIndex()).center();
        QWheelEvent event(at, bar()->mapToGlobal(at), {}, QPoint(0, delta), Qt::NoButton, {}, Qt::NoScrollPhase,
                          false);
        QApplication::sendEvent(bar(), &event);
    }
};

} // namespace

TEST_F(Tabs, EveryWayOfChangingTheTabAsksBeforeTheChange)
{
    click(1);
    EXPECT_EQ(tabs.currentIndex(), 1);
    QTest::keyClick(bar(), Qt::Key_Right);
    EXPECT_EQ(tabs.currentIndex(), 3) << "past the disabled tab";
    QTest::keyClick(&tabs, Qt::Key_Tab, Qt::ControlModifier);
    EXPECT_EQ(tabs.currentIndex(), 0) << "Ctrl+Tab wraps around";
    QTest::keyClick(&tabs, Qt::Key_Backtab, Qt::ControlModifier | Qt::ShiftModifier);
    EXPECT_EQ(tabs.currentIndex(), 3);
    QTest::keyClick(bar(), Qt::Key_Left);
    EXPECT_EQ(tabs.currentIndex(), 1);
    wheel(-120);
    EXPECT_EQ(tabs.currentIndex(), 3);
    EXPECT_EQ(seenAt, (QList<int>{0, 1, 3, 0, 3, 1})) << "each time on the tab still shown";

    // No question where nothing changes: the current tab, the end of the row, a disabled tab, code.
    seenAt.clear();
    click(3);
    QTest::keyClick(bar(), Qt::Key_Right);
    click(2);
    wheel(-120);
    tabs.setCurrentIndex(0);
    EXPECT_TRUE(seenAt.isEmpty());
    EXPECT_EQ(tabs.currentIndex(), 0);
}

TEST_F(Tabs, ARefusedChangeKeepsTheTab)
{
    allow = false;
    click(1);
    QTest::keyClick(bar(), Qt::Key_Right);
    QTest::keyClick(&tabs, Qt::Key_Tab, Qt::ControlModifier);
    wheel(-120);
    EXPECT_EQ(seenAt, (QList<int>{0, 0, 0, 0}));
    EXPECT_EQ(tabs.currentIndex(), 0);

    allow = true;
    click(1);
    EXPECT_EQ(tabs.currentIndex(), 1);
}

// The welcome window and the main window as the program carries them: created event,
// start button, loading animation, and the program-wide state at start.
#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QMovie>
#include <QTest>
#include <QTextEdit>
#include <QTimer>

#include "app/handlers.hpp"
#include "app/state.hpp"
#include "content/spread.hpp"
#include "drills/exercise_lists.hpp"
#include "reading/book_view.hpp"
#include "app/welcome.hpp"
#include "runtime/embedded.hpp"
#include "support/carried_templates.hpp"
#include "support/widget_fixture.hpp"
#include "ui/unit_ids.hpp"

using namespace tb;
using namespace tb::ui;
namespace wel = tb::ids::welcome;

namespace {

class AppWelcome : public tb::test::WidgetTest {
protected:
    void SetUp() override {
        WidgetTest::SetUp();
        // The program's handlers, with main_created watched on its way through.
        bind_at(tb::test::handler_welcome_created, &::welcome_created);
        bind_at(tb::test::handler_welcome_start_clicked, &::welcome_start_clicked);
        bind_at(tb::test::handler_main_created, [this](const EventArgs& a) {
            loading_while_creating.push_back(get_int(wel::window, wel::图片框加载, prop::kVisible));
            return ::main_created(a);
        });
        carried = TemplateSet::parse(embedded_blob("templates"));
        ASSERT_TRUE(carried);
        app::reset_state();
    }

    // The carried welcome window, and the carried main window whose creation runs main_created.
    void load_set(bool with_main) {
        std::vector<WindowSpec> windows{tb::test::spec_of(*carried->find_window(wel::window))};
        if (with_main) windows.push_back(tb::test::spec_of(*carried->find_window(tb::ids::main_window::window)));
        load(windows);
    }

    void press_start() {
        auto* start = button(wel::window, wel::超级按钮_开始学习);
        ASSERT_NE(start, nullptr);
        ASSERT_TRUE(start->isVisible());
        QTest::mouseClick(start, Qt::LeftButton, {}, QPoint(10, 10));
    }

    std::unique_ptr<TemplateSet> carried;
    std::vector<int> loading_while_creating;
};

}  // namespace

TEST_F(AppWelcome, CreatedEventFormatsTheTextsAndShowsTheStartButton) {
    load_set(true);
    ASSERT_TRUE(show_window(wel::window, false));
    QWidget* frame = control(wel::window, 0);
    EXPECT_EQ(frame->size(), QSize(393, 400));
    EXPECT_EQ(frame->windowTitle(), QStringLiteral("Tapbook"));
    EXPECT_TRUE(control(wel::window, wel::超级按钮_开始学习)->isVisible());
    EXPECT_EQ(get_int(wel::window, wel::超级按钮_开始学习, prop::kVisible), 1);
    EXPECT_EQ(get_int(wel::window, wel::图片框加载, prop::kVisible), 0);
    for (std::uint32_t u : {wel::超级编辑框软件说明, wel::超级编辑框常见问题}) {
        auto f = std::get<Font>(get_property(wel::window, u, prop::kRichFont));
        EXPECT_EQ(f.face, gbk("宋体"));
        EXPECT_EQ(f.size_pt, 15);
        EXPECT_FALSE(f.bold || f.italic || f.underline || f.strike_out);
        EXPECT_EQ(get_int(wel::window, u, prop::kRichColour), 0x00008000);
        // The text itself carries the format.
        auto* edit = qobject_cast<QTextEdit*>(control(wel::window, u));
        ASSERT_NE(edit, nullptr);
        QTextCursor c(edit->document());
        c.movePosition(QTextCursor::End);
        EXPECT_EQ(c.charFormat().foreground().color(), QColor(0, 128, 0));
        EXPECT_EQ(c.charFormat().font().pointSize(), 15);
        EXPECT_FALSE(edit->toPlainText().isEmpty());
    }
}

TEST_F(AppWelcome, StartButtonOpensTheMainWindowModallyTwiceInARow) {
    load_set(true);
    ASSERT_TRUE(show_window(wel::window, false));
    for (int round = 1; round <= 2; ++round) {
        bool main_was_shown = false;
        int loading_while_main_open = -1;
        QTimer::singleShot(0, [&] {
            main_was_shown = window_shown(tb::ids::main_window::window);
            loading_while_main_open = get_int(wel::window, wel::图片框加载, prop::kVisible);
            destroy_window(tb::ids::main_window::window);
        });
        press_start();  // returns when the main window has closed
        EXPECT_TRUE(main_was_shown) << "round " << round;
        ASSERT_EQ(loading_while_creating.size(), std::size_t(round));
        EXPECT_EQ(loading_while_creating.back(), 1) << "the animation runs while the main window is built";
        EXPECT_EQ(loading_while_main_open, 0);
        EXPECT_FALSE(window_shown(tb::ids::main_window::window));
        EXPECT_EQ(get_int(wel::window, wel::图片框加载, prop::kVisible), 0);
        EXPECT_TRUE(window_shown(wel::window));
    }
}

TEST_F(AppWelcome, StartWithoutAMainWindowLeavesTheLoadingMark) {
    load_set(false);
    ASSERT_TRUE(show_window(wel::window, false));
    press_start();
    EXPECT_TRUE(loading_while_creating.empty());
    EXPECT_EQ(get_int(wel::window, wel::图片框加载, prop::kVisible), 1);
    EXPECT_TRUE(control(wel::window, wel::图片框加载)->isVisible());
}

TEST_F(AppWelcome, TheLoadingAnimationOpensWhenItIsFirstShown) {
    // Hidden on the welcome window, it costs nothing before the window is up; shown, it runs.
    load_set(false);
    ASSERT_TRUE(show_window(wel::window, false));
    QWidget* loading = control(wel::window, wel::图片框加载);
    EXPECT_EQ(loading->findChild<QMovie*>(), nullptr);
    set_property(wel::window, wel::图片框加载, prop::kVisible, std::int32_t(1));
    auto* movie = loading->findChild<QMovie*>();
    ASSERT_NE(movie, nullptr);
    EXPECT_EQ(movie->state(), QMovie::Running);
    EXPECT_GT(movie->frameCount(), 1);
    // Hidden and shown again, it goes on with the same animation.
    set_property(wel::window, wel::图片框加载, prop::kVisible, std::int32_t(0));
    set_property(wel::window, wel::图片框加载, prop::kVisible, std::int32_t(1));
    EXPECT_EQ(loading->findChild<QMovie*>(), movie);
}

TEST_F(AppWelcome, WelcomePagesAreTurnedByTabs) {
    load_set(true);
    ASSERT_TRUE(show_window(wel::window, false));
    ASSERT_TRUE(QTest::qWaitForWindowExposed(control(wel::window, 0)));
    EXPECT_TRUE(control(wel::window, wel::图片框封皮)->isVisible());
    EXPECT_FALSE(control(wel::window, wel::超级编辑框软件说明)->isVisible());
    set_property(wel::window, wel::高级选择夹1, prop::kCurrentPage, std::int32_t(2));
    EXPECT_TRUE(control(wel::window, wel::超级编辑框常见问题)->isVisible());
    EXPECT_FALSE(control(wel::window, wel::图片框封皮)->isVisible());
}

TEST(AppState, StartsEmptyAndResets) {
    app::reset_state();
    auto& s = content::spread();
    auto& v = reading::book_view();
    EXPECT_EQ(s.current_sounds.count(), 0);
    EXPECT_EQ(s.current_translations.count(), 0);
    EXPECT_EQ(v.page_cursor, 0);
    s.current_sentences.append("Hello.");
    v.full_screen = 1;
    drills::exercise_lists().sentences.append("Hi.");
    app::reset_state();
    EXPECT_EQ(s.current_sentences.count(), 0);
    EXPECT_EQ(v.full_screen, 0);
    EXPECT_EQ(drills::exercise_lists().sentences.count(), 0);
}

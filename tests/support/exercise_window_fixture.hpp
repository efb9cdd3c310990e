#pragma once
// Driving the fill-in and ordering windows in tests: the carried templates and the program's own
// handlers, exercise lists put in place by the test, and the window shown without a modal loop.
#include <gtest/gtest.h>

#include <QTest>
#include <QWidget>
#include <deque>
#include <initializer_list>

#include "app/handlers.hpp"
#include "app/state.hpp"
#include "content/catalogue.hpp"
#include "content/spread.hpp"
#include "content/tables.hpp"
#include "content/volume.hpp"
#include "drills/exercise_lists.hpp"
#include "runtime/embedded.hpp"
#include "support/fakes.hpp"
#include "support/program_fixture.hpp"
#include "support/scripted_random.hpp"
#include "ui/unit_ids.hpp"
#include "ui/widgets/widgets.hpp"

namespace tb::test {

class ExerciseWindowTest : public ProgramTest {
protected:
    // The exercise lists as a window takes them, with a clip of the book for each sentence (or as
    // many clips as asked), so that the log names what plays.
    static void use_lists(std::initializer_list<Text> sentences, int clips = -1) {
        use_lists(std::vector<Text>(sentences), clips);
    }
    static void use_lists(const std::vector<Text>& sentences, int clips = -1) {
        auto& lists = drills::exercise_lists();
        lists.sentences.clear();
        lists.translations.clear();
        for (std::size_t i = 0; i < sentences.size(); ++i) {
            lists.sentences.append(sentences[i]);
            lists.translations.append(gbk("翻译") + number_text(static_cast<long long>(i + 1)));
        }
        auto& sounds = content::spread().exercise_sounds;
        sounds.clear();
        const auto table = catalogue::page_clips(0);
        const int n = clips < 0 ? static_cast<int>(sentences.size()) : clips;
        for (int i = 0; i < n; ++i) {
            const auto& c = table[static_cast<std::size_t>(i) % table.size()];
            sounds.append(Blob(c.begin(), c.end()));
        }
    }
    static RandomSource scripted(std::deque<int> draws) { return test::scripted(std::move(draws)); }

    static QWidget* control(std::uint32_t window, std::uint32_t unit) { return ui::control_of(window, unit); }
    static void click(std::uint32_t window, std::uint32_t unit) {
        QWidget* w = control(window, unit);
        ASSERT_NE(w, nullptr);
        QTest::mouseClick(w, Qt::LeftButton, {}, QPoint(w->width() / 2, w->height() / 2));
    }
    static void press(std::uint32_t window, std::uint32_t unit) {
        QWidget* w = control(window, unit);
        ASSERT_NE(w, nullptr);
        ASSERT_TRUE(w->isVisible());
        QTest::mousePress(w, Qt::LeftButton, {}, QPoint(2, 2));
        QTest::mouseRelease(w, Qt::LeftButton, {}, QPoint(2, 2));
    }
    static bool played(const Blob& clip) {
        for (const auto& p : sound().played)
            if (p.bytes == clip) return true;
        return false;
    }
    // Whether the last clip played is one of the list.
    template <class Clips>
    static bool last_played_one_of(const Clips& clips) {
        if (sound().played.empty()) return false;
        for (const auto& c : clips)
            if (sound().played.back().bytes == std::vector<std::uint8_t>(c.begin(), c.end())) return true;
        return false;
    }
    static std::vector<Text> book_sentences(int page) {
        List<Text> sentences, translations;
        content::split_page_text(content::page_text(page), sentences, translations);
        return sentences.items();
    }
};

}  // namespace tb::test

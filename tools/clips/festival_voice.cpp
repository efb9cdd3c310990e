#include "festival_voice.hpp"

#include <festival.h>

namespace clipbake {

namespace {

std::string quoted(const std::string& text) {
    std::string q = "\"";
    for (char c : text) {
        if (c == '"' || c == '\\') q += '\\';
        q += c;
    }
    return q + '"';
}

}  // namespace

bool festival_start(const std::string& voice, long heap_cells) {
    festival_initialize(1, static_cast<int>(heap_cells));
    return festival_eval_command(("(voice_" + voice + ")").c_str());
}

bool festival_add_word(const std::string& word, const std::string& phones) {
    return festival_eval_command(("(lex.add.entry (list " + quoted(word) + " nil (lex.syllabify.phstress '(" + phones + "))))").c_str());
}

bool festival_speak(const std::string& text, std::vector<short>& samples, int& rate) {
    EST_Wave w;
    if (!festival_text_to_wave(text.c_str(), w) || w.num_samples() <= 0) return false;
    rate = w.sample_rate();
    samples.clear();
    for (int i = 0; i < w.num_samples(); ++i) samples.push_back(w.a_no_check(i, 0));
    return true;
}

std::string festival_phones(const std::string& text) {
    LISP utt = leval(read_from_string(("(utt.synth (Utterance Text " + quoted(text) + "))").c_str()), NIL);
    std::string out;
    if (!utt) return out;
    for (EST_Item* s = utterance(utt)->relation("Segment")->head(); s; s = inext(s))
        if (s->name() != "pau") out += std::string(s->name()) + " ";
    return out;
}

}  // namespace clipbake

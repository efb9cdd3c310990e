#pragma once
// The cast and the story pictures of the sample volume: book/characters.txt (how each person
// looks), book/things.txt (the things a scene may name beyond the icon set's own names) and the
// `scene` and `panel` lines of the page files (what a story picture shows).
#include <filesystem>
#include <map>
#include <string>
#include <vector>

namespace tb::book {

struct Problem;

enum class Build { Adult, Child, Baby, Dog };

struct Character {
    std::string name;
    Build build = Build::Child;
    int height = 100;  // hundredths of a grown-up's height
    // The look, part by part: skin, hair (style and colour), top, trousers / shorts / skirt / dress,
    // shoes, cap, bag, glasses, beard, icon (an animal drawn from the icon set).
    std::map<std::string, std::string> look;
    int source_line = 0;

    std::string part(const std::string& key) const {
        auto it = look.find(key);
        return it == look.end() ? std::string() : it->second;
    }
};

struct Thing {  // a name a scene uses for an icon (or a piece of furniture drawn: @table, @desk)
    std::string name;
    std::string icon;
    int size = 30;    // hundredths of a grown-up's height
    std::string box;  // empty, or the colour of the box the icon is printed on
    int source_line = 0;
};

struct Figure {  // who, in which pose, holding what
    std::string who;
    std::string pose;
    std::string with;     // empty or a thing
    std::string without;  // empty or a part of the look left off here ("Ben point without cap")
};

struct Placing {  // a thing (count times) and where it is
    int count = 1;
    std::string thing;
    std::string where;   // empty, under, on, next to, behind, in, above
    std::string anchor;  // a figure, an earlier thing, or sky / wall
};

struct Scene {
    int panel = 0;  // 0 a story picture; n the numbered picture n an exercise refers to
    std::string setting;
    std::string weather;  // empty: none named
    std::vector<Figure> cast;
    std::vector<Placing> things;
    int source_line = 0;
};

inline const std::vector<std::string>& scene_settings() {
    static const std::vector<std::string> s = {"classroom", "living room", "kitchen", "bedroom", "dining room",
                                               "playground", "market", "park", "farm", "garden"};
    return s;
}
inline const std::vector<std::string>& scene_weathers() {
    static const std::vector<std::string> w = {"sunny", "cloudy", "rainy", "windy", "snowy"};
    return w;
}
inline const std::vector<std::string>& scene_poses() {
    static const std::vector<std::string> p = {"stand", "wave", "point", "sit", "eat", "run", "draw", "sing", "read"};
    return p;
}

// Parses the fields after the kind of a `scene` line (setting, cast, things) or of a `panel`
// line (number, setting, cast, things). Faults of form go to problems under `where`.
Scene parse_scene(const std::vector<std::string>& fields, bool panel, const std::string& where, std::vector<Problem>& problems);

std::map<std::string, Character> read_characters(const std::filesystem::path& file, std::vector<Problem>& problems);
std::map<std::string, Thing> read_things(const std::filesystem::path& file, std::vector<Problem>& problems);

}  // namespace tb::book

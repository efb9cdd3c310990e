#include "tools/book/scene.hpp"

#include <algorithm>
#include <cstdlib>

#include "tools/book/book.hpp"

namespace tb::book {
namespace fs = std::filesystem;

namespace {

bool known(const std::vector<std::string>& list, const std::string& s) {
    return std::find(list.begin(), list.end(), s) != list.end();
}

std::vector<std::string> split_list(const std::string& s) {  // at ", "; "-" is the empty list
    if (s == "-" || s.empty()) return {};
    return split_trimmed(s, ", ");
}

}  // namespace

Scene parse_scene(const std::vector<std::string>& f, bool panel, const std::string& where, std::vector<Problem>& problems) {
    Scene s;
    std::size_t first = panel ? 2 : 1;
    if (f.size() != first + 3) {
        problems.push_back({where, panel ? "a panel is panel | number | setting[, weather] | who pose [with thing], ... | [count] thing [where anchor], ..."
                                         : "a scene is scene | setting[, weather] | who pose [with thing], ... | [count] thing [where anchor], ..."});
        return s;
    }
    if (panel) {
        try {
            s.panel = std::stoi(f[1]);
        } catch (...) {
            s.panel = 0;
        }
        if (s.panel < 1) problems.push_back({where, "a panel's number is 1 or more"});
    }
    auto setting = split_list(f[first]);
    if (setting.empty() || setting.size() > 2 || !known(scene_settings(), setting[0])) {
        problems.push_back({where, "unknown setting \"" + f[first] + "\""});
    } else {
        s.setting = setting[0];
        if (setting.size() == 2) {
            if (known(scene_weathers(), setting[1])) s.weather = setting[1];
            else problems.push_back({where, "unknown weather \"" + setting[1] + "\""});
        }
    }
    for (const std::string& e : split_list(f[first + 1])) {
        Figure fig;
        std::string body = e;
        if (auto w = body.find(" without "); w != std::string::npos) {
            fig.without = trim_copy(body.substr(w + 9));
            body = body.substr(0, w);
        }
        if (auto w = body.find(" with "); w != std::string::npos) {
            fig.with = trim_copy(body.substr(w + 6));
            body = body.substr(0, w);
        }
        auto sp = body.rfind(' ');
        if (sp == std::string::npos || !known(scene_poses(), body.substr(sp + 1))) {
            problems.push_back({where, "\"" + e + "\" needs a pose: who stand, wave, point, sit, eat, run, draw, sing or read [with thing] [without part]"});
            continue;
        }
        fig.who = body.substr(0, sp);
        fig.pose = body.substr(sp + 1);
        s.cast.push_back(fig);
    }
    static const char* places[] = {" next to ", " under ", " behind ", " above ", " on ", " in "};
    for (const std::string& e : split_list(f[first + 2])) {
        Placing pl;
        std::string body = e;
        if (!body.empty() && std::isdigit(static_cast<unsigned char>(body[0]))) {
            auto sp = body.find(' ');
            pl.count = std::atoi(body.substr(0, sp).c_str());
            body = sp == std::string::npos ? std::string() : body.substr(sp + 1);
            if (pl.count < 1 || pl.count > 20) {
                problems.push_back({where, "\"" + e + "\": a count is 1 to 20"});
                continue;
            }
        }
        for (const char* p : places) {
            if (auto at = body.find(p); at != std::string::npos) {
                pl.where = trim_copy(p);
                pl.anchor = trim_copy(body.substr(at + std::char_traits<char>::length(p)));
                body = body.substr(0, at);
                break;
            }
        }
        pl.thing = trim_copy(body);
        if (pl.thing.empty() || (!pl.where.empty() && pl.anchor.empty())) {
            problems.push_back({where, "\"" + e + "\" is [count] thing [under / on / next to / behind / above / in anchor]"});
            continue;
        }
        s.things.push_back(pl);
    }
    return s;
}

std::map<std::string, Character> read_characters(const fs::path& file, std::vector<Problem>& problems) {
    std::map<std::string, Character> out;
    static const std::map<std::string, Build> builds = {
        {"adult", Build::Adult}, {"child", Build::Child}, {"baby", Build::Baby}, {"dog", Build::Dog}};
    for (const auto& [n, line] : content_lines(file, problems)) {
        auto f = split_fields(line);
        auto b = f.size() == 4 ? builds.find(f[1]) : builds.end();
        int height = f.size() == 4 ? std::atoi(f[2].c_str()) : 0;
        if (b == builds.end() || height < 20 || height > 110) {
            problems.push_back({where(file, n), "a character is name | adult, child, baby or dog | height (20 to 110) | part value, ..."});
            continue;
        }
        Character c{f[0], b->second, height, {}, n};
        for (const std::string& part : split_list(f[3])) {
            auto sp = part.find(' ');
            c.look[part.substr(0, sp)] = sp == std::string::npos ? std::string() : part.substr(sp + 1);
        }
        if (!out.emplace(c.name, c).second) problems.push_back({where(file, n), "\"" + c.name + "\" is described twice"});
    }
    return out;
}

std::map<std::string, Thing> read_things(const fs::path& file, std::vector<Problem>& problems) {
    std::map<std::string, Thing> out;
    for (const auto& [n, line] : content_lines(file, problems)) {
        auto f = split_fields(line);
        int size = f.size() >= 3 ? std::atoi(f[2].c_str()) : 0;
        if (f.size() < 3 || f.size() > 4 || size < 5 || size > 150) {
            problems.push_back({where(file, n), "a thing is name | icon | size (5 to 150) [| box colour]"});
            continue;
        }
        Thing t{f[0], f[1], size, f.size() == 4 ? f[3] : std::string(), n};
        if (!out.emplace(t.name, t).second) problems.push_back({where(file, n), "\"" + t.name + "\" is named twice"});
    }
    return out;
}

}  // namespace tb::book

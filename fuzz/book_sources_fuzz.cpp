// Fuzzes the reader of the book's sources (book/, which a teacher may one day edit) and what the
// bake does with what it read: the checker, the GBK conversions and, for word lists of the
// lengths it needs, the word-list grid. The input is the volume's 41 files in order (pages 00 to
// 33, word lists 1 to 6, extras), separated by lines "%%"; missing files are empty.
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

#include "tools/book/book.hpp"
#include "tools/book/wordlist.hpp"
#include "tools/content/check.hpp"

namespace fs = std::filesystem;
using namespace tb::book;

namespace {

const fs::path& root() {
    static const fs::path dir = [] {
        std::string pattern = (fs::temp_directory_path() / "tapbook-book-fuzz-XXXXXX").string();
        if (!mkdtemp(pattern.data())) std::abort();
        fs::create_directories(fs::path(pattern) / "pages");
        fs::create_directories(fs::path(pattern) / "words");
        return fs::path(pattern);
    }();
    return dir;
}

std::vector<fs::path> files() {
    std::vector<fs::path> out;
    for (int k = 0; k < tb::volume::kContentPages; ++k) {
        char name[16];
        std::snprintf(name, sizeof name, "%02d.txt", k);
        out.push_back(root() / "pages" / name);
    }
    for (int u = 1; u <= tb::volume::kLessons; ++u) out.push_back(root() / "words" / ("unit" + std::to_string(u) + ".txt"));
    out.push_back(root() / "extras.txt");
    return out;
}

void convert(const std::string& utf8) {
    try {
        (void)to_gbk(utf8);
    } catch (const std::runtime_error&) {  // not representable in GBK: the bake says so
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static const std::vector<fs::path> paths = files();
    std::string_view rest(reinterpret_cast<const char*>(data), size);
    for (const fs::path& p : paths) {
        const std::size_t end = rest.find("\n%%\n");
        std::ofstream(p, std::ios::binary | std::ios::trunc) << rest.substr(0, end);
        rest = end == std::string_view::npos ? std::string_view() : rest.substr(end + 4);
    }

    std::vector<Problem> problems;
    Book book = read_book(root(), problems);
    for (const Page& page : book.pages) {
        for (const Item& item : page.items) {
            convert(item.english_line());
            convert(item.chinese_line());
        }
        for (const FillExercise& f : page.fills) convert(f.sentence + f.answer + f.chinese);
        for (const TickExercise& t : page.ticks) convert(t.statement + t.chinese);
    }
    for (const auto& words : book.units)
        for (const Word& w : words) convert(w.english + w.chinese);
    tb::content::check_book(root(), book, problems);

    bool lists_as_needed = book.units.size() == tb::volume::kLessons;
    for (int u = 0; lists_as_needed && u < tb::volume::kLessons; ++u)
        lists_as_needed = static_cast<int>(book.units[std::size_t(u)].size()) == tb::volume::kLessonWords[u];
    if (lists_as_needed) (void)wordlist_cells(book);
    if (problems.empty()) {
        for (const Page& page : book.pages) (void)page_text_gbk(page);
        for (const auto& words : book.units) (void)lesson_text_gbk(words);
    }
    return 0;
}

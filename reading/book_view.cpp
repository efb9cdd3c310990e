#include "reading/book_view.hpp"

namespace tb::reading {

BookView& book_view() {
    static BookView view;
    return view;
}

}  // namespace tb::reading

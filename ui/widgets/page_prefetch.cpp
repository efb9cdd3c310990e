// Page pictures decoded ahead: the page book asks for the pictures of the pages beside the one
// shown, at the size each box will ask the picture cache for when it paints.
#include "ui/widgets/controls.hpp"

namespace tb::ui::detail {

std::optional<media::PrefetchRequest> PicBoxWidget::prefetch_request() const {
    if (block_.picture.empty() || may_animate()) return std::nullopt;
    const QSize target = block_.display_mode == 1 ? device_pixel_size(size(), devicePixelRatioF()) : QSize();
    return media::PrefetchRequest{std::make_shared<const std::vector<std::uint8_t>>(block_.picture), target};
}

void prefetch_pages_beside(const std::vector<QWidget*>& pages, int current) {
    std::vector<media::PrefetchRequest> wanted;
    for (int k : {current + 1, current - 1}) {
        if (k < 0 || k >= static_cast<int>(pages.size())) continue;
        // The page pictures; what lies on them (listen marks) is small and shared.
        for (QObject* child : pages[std::size_t(k)]->children())
            if (auto* box = dynamic_cast<PicBoxWidget*>(child))  // no meta-object of its own: not qobject_cast
                if (auto r = box->prefetch_request()) wanted.push_back(std::move(*r));
    }
    media::picture_prefetcher().prefetch(std::move(wanted));
}

}  // namespace tb::ui::detail

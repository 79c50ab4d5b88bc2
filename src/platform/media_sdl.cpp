// Pictures and fonts on disk (temporary bodies while the real ones land).
#include "platform/media.h"

namespace vorlan {

namespace {
class NullRenderer : public TextRenderer {
 public:
  TextMask Render(std::string_view, FontFace, int, bool) const override { return {}; }
};
}  // namespace

bool LoadPictureFile(const std::filesystem::path&, Surface&) { return false; }
bool SaveBmpFile(const Surface&, const std::filesystem::path&) { return false; }
bool SaveJpegFile(const Surface&, const std::filesystem::path&, int) { return false; }
std::unique_ptr<TextRenderer> MakeTextRenderer() { return std::make_unique<NullRenderer>(); }

}  // namespace vorlan

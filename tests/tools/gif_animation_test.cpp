// The animated GIF writer of orvane-panel render, read back with the GIF
// library's decoder.
#include <gif_lib.h>
#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <string>

#include "animation.h"
#include "host_error.h"

namespace {

namespace fs = std::filesystem;
using orv::panel_tool::GifAnimation;

cairo_surface_t* filled(int w, int h, double r, double g, double b) {
  cairo_surface_t* s = cairo_image_surface_create(CAIRO_FORMAT_RGB24, w, h);
  cairo_t* cr = cairo_create(s);
  cairo_set_source_rgb(cr, r, g, b);
  cairo_paint(cr);
  cairo_destroy(cr);
  return s;
}

const GifColorType& colour_at(const GifFileType* gif, int frame, int x, int y) {
  const SavedImage& image = gif->SavedImages[frame];
  const ColorMapObject* map = image.ImageDesc.ColorMap ? image.ImageDesc.ColorMap : gif->SColorMap;
  return map->Colors[image.RasterBits[y * image.ImageDesc.Width + x]];
}

TEST(GifAnimation, LoopsItsFramesAtTheFrameRateOnTheFirstFramesCanvas) {
  const fs::path path = fs::path(ORV_TEST_DIR) / "gif_animation" / "three.gif";
  fs::remove(path);
  {
    GifAnimation gif(path.string(), 4.0, 0.5);
    const double colours[3][3] = {{1, 0, 0}, {0, 1, 0}, {0, 0, 1}};
    for (int k = 0; k < 3; ++k) {
      // The second frame is larger: it is cut to the first frame's canvas.
      cairo_surface_t* s =
          filled(k == 1 ? 80 : 40, k == 1 ? 40 : 20, colours[k][0], colours[k][1], colours[k][2]);
      gif.add(s);
      cairo_surface_destroy(s);
    }
    gif.close();
    EXPECT_EQ(gif.frames(), 3);
  }
  int error = 0;
  GifFileType* gif = DGifOpenFileName(path.c_str(), &error);
  ASSERT_NE(gif, nullptr) << GifErrorString(error);
  ASSERT_EQ(DGifSlurp(gif), GIF_OK);
  EXPECT_EQ(gif->SWidth, 20);
  EXPECT_EQ(gif->SHeight, 10);
  ASSERT_EQ(gif->ImageCount, 3);
  const GifByteType expected[3][3] = {{255, 0, 0}, {0, 255, 0}, {0, 0, 255}};
  for (int k = 0; k < 3; ++k) {
    SCOPED_TRACE(k);
    const GifColorType& c = colour_at(gif, k, 10, 5);
    EXPECT_EQ(c.Red, expected[k][0]);
    EXPECT_EQ(c.Green, expected[k][1]);
    EXPECT_EQ(c.Blue, expected[k][2]);
    GraphicsControlBlock control{};
    ASSERT_EQ(DGifSavedExtensionToGCB(gif, k, &control), GIF_OK);
    EXPECT_EQ(control.DelayTime, 25);  // centiseconds at 4 frames per second
  }
  // The first frame carries the loop extension.
  bool loops = false;
  const SavedImage& first = gif->SavedImages[0];
  for (int i = 0; i < first.ExtensionBlockCount; ++i) {
    const ExtensionBlock& b = first.ExtensionBlocks[i];
    if (b.Function == APPLICATION_EXT_FUNC_CODE && b.ByteCount == 11 &&
        std::memcmp(b.Bytes, "NETSCAPE2.0", 11) == 0)
      loops = true;
  }
  EXPECT_TRUE(loops);
  DGifCloseFile(gif, &error);
}

TEST(GifAnimation, AFileThatCannotBeWrittenIsAnError) {
  const fs::path blocker = fs::path(ORV_TEST_DIR) / "gif_animation" / "not_a_folder";
  fs::create_directories(blocker.parent_path());
  {
    std::FILE* f = std::fopen(blocker.c_str(), "w");
    std::fclose(f);
  }
  EXPECT_THROW(GifAnimation((blocker / "x.gif").string(), 6.0, 1.0), orv::host::HostError);
}

}  // namespace

namespace {

// The progress of a long run: counts clamped to the run, the bar filled in
// proportion, the count right-aligned so the bar does not move.
TEST(Progress, LinesAndBarsShowTheShareDone) {
  using orv::panel_tool::progress_line;
  struct Case {
    long count, total;
    int bar;
    const char* line;
  };
  const Case cases[] = {
      {4, 4, 0, "render: frame 4/4 (100%)"},
      {1, 3, 0, "render: frame 1/3 (33%)"},
      {0, 0, 0, "render: frame 0/1 (0%)"},
      {5, 4, 0, "render: frame 4/4 (100%)"},
      {12, 198, 10, "render: frame  12/198 [..........] 6%"},
      {99, 198, 10, "render: frame  99/198 [#####.....] 50%"},
      {198, 198, 10, "render: frame 198/198 [##########] 100%"},
  };
  for (const Case& c : cases)
    EXPECT_EQ(progress_line("render: frame", c.count, c.total, c.bar), c.line) << c.count << "/" << c.total;
}

}  // namespace

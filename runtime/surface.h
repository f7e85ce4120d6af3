// Pictures and picture surfaces: CPU pixel buffers with a retained image, drawing, text and
// raster copies. Colours are the classic 0x00BBGGRR numbers.
#pragma once
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace rt {

using Color = int32_t;  // 0x00BBGGRR
constexpr Color RGB(int r, int g, int b) { return (r & 255) | ((g & 255) << 8) | ((b & 255) << 16); }
Color QBColor(int n);  // the 16-colour table, n 0..15
constexpr Color vbBlack = 0, vbWhite = 0xFFFFFF, vbRed = 0x0000FF, vbGreen = 0x00FF00,
                vbBlue = 0xFF0000, vbYellow = 0x00FFFF;

// Raster operations.
enum : uint32_t { SRCCOPY = 0x00CC0020, SRCPAINT = 0x00EE0086, SRCAND = 0x008800C6, SRCINVERT = 0x00660046 };
enum DrawModes { vbInvert = 6, vbCopyPen = 13 };

// An immutable picture: one Color per pixel, row-major. Icons keep their transparency in
// `alpha`, for cursors.
struct Picture {
  int width = 0, height = 0;
  std::vector<Color> pixels;
  std::vector<uint8_t> alpha;  // empty = opaque; else 0..255 per pixel (icons)
  Color At(int x, int y) const { return pixels[size_t(y) * width + x]; }
};
using PicturePtr = std::shared_ptr<const Picture>;

// Loads a .bmp, .jpg or .ico picture (system path). nullptr when missing or unreadable.
PicturePtr LoadPicture(const std::string& winpath);
// Writes a picture as .bmp (host tools and tests).
bool SavePictureBmp(const Picture& pic, const std::string& hostpath);

// A font as the surfaces use it. Names: "MS Sans Serif", "Fixedsys" (bitmap fonts opened by
// path), "Arial", "Times New Roman", "Courier" / "Courier New" (through fontconfig); points
// convert to pixels at 96 dpi.
struct Font {
  std::string name = "MS Sans Serif";
  float size = 8.25f;
  bool bold = false;
  bool italic = false;
  bool underline = false;
};

class Surface;
// A device-context handle: BitBlt and friends draw into whatever the surface currently draws
// into (its retained image with AutoRedraw on, else its screen pixels).
using HDC = Surface*;

class Surface {
 public:
  explicit Surface(int w = 0, int h = 0);
  virtual ~Surface();
  Surface(const Surface&) = delete;
  Surface& operator=(const Surface&) = delete;

  // Size in pixels (inner size = ScaleWidth/ScaleHeight). Resizing keeps the top-left pixels.
  void ResizeSurface(int w, int h);
  int ScaleWidth() const { return w_; }
  int ScaleHeight() const { return h_; }

  // Properties.
  Color BackColor = RGB(212, 208, 200);  // the classic button face; Cls uses it
  Color ForeColor = 0;
  int DrawMode = vbCopyPen;
  int DrawWidth = 1;
  float CurrentX = 0, CurrentY = 0;
  Font font;
  // With AutoRedraw on, drawing goes to the retained image, which shows on the next repaint
  // (the runtime repaints changed surfaces when it pumps events) or Refresh. Off, drawing goes
  // to the screen pixels only and is lost on the next Refresh/repaint, which shows the retained
  // image again. Switching on keeps the screen as it is until the next change.
  bool AutoRedraw() const { return autoRedraw_; }
  void SetAutoRedraw(bool on);
  // AutoSize: the surface takes the size of a picture assigned to Picture.
  bool AutoSize = false;

  // The background picture; assigning it draws it at (0, 0) over BackColor into the retained
  // image and the screen (like Cls).
  PicturePtr GetPicture() const { return picture_; }
  void SetPicture(PicturePtr pic);
  // A snapshot of the retained image.
  PicturePtr Image() const;

  // Clears to BackColor and draws the background picture; CurrentX/Y = 0.
  void Cls();
  enum LineKind { Plain, Box, BoxFilled };
  // Corners inclusive; reversed corners allowed. color < 0 means ForeColor. Moves CurrentX/Y to
  // (x2, y2).
  void Line(float x1, float y1, float x2, float y2, Color color = -1, LineKind kind = Plain);
  void PSet(float x, float y, Color color = -1);
  Color Point(float x, float y) const;  // -1 outside
  void Circle(float x, float y, float radius, Color color = -1);
  // Prints at CurrentX/CurrentY in ForeColor and the font; CurrentY moves one line down and
  // CurrentX back to 0. Carriage returns (with or without line feed) start new lines.
  // Only what falls on the surface is rendered, so a line of any length costs its visible part.
  void Print(std::string_view text);
  // Prints without moving to the next line (CurrentX moves behind the text) - "Print t;".
  void PrintNoNewline(std::string_view text);
  float TextWidth(std::string_view text) const;   // widest line
  float TextHeight(std::string_view text) const;  // line height times lines
  float LinesHeight(int64_t lines) const;         // line height times so many lines
  static size_t LineCount(std::string_view text);  // the lines Print makes of it, at least one
  // Stretched copy of a picture; the defaults take the picture's own size; a negative width
  // mirrors left to right. rop: SRCCOPY or SRCPAINT (others too).
  void PaintPicture(const PicturePtr& pic, float x, float y, float w = -1e9f, float h = -1e9f,
                    float sx = 0, float sy = 0, float sw = -1e9f, float sh = -1e9f,
                    uint32_t rop = SRCCOPY);
  // Like PaintPicture but from another surface's current drawing pixels (no snapshot).
  void PaintSurface(const Surface& src, float x, float y, float w, float h, float sx, float sy,
                    float sw, float sh, uint32_t rop = SRCCOPY);

  HDC hDC() { return this; }
  // Repaint now: with AutoRedraw on, shows the retained image; off, the screen is reset to it.
  void Refresh();

  // Pixel access for the presenter and tests.
  const std::vector<Color>& ScreenPixels() const;   // what the screen shows
  const std::vector<Color>& ImagePixels() const;
  // Pixels that drawing goes to now (image with AutoRedraw on, else screen). Taking them for
  // writing counts as a change of the screen; CurrentPixels reads them without that.
  std::vector<Color>& DrawPixels();
  const std::vector<Color>& CurrentPixels() const;
  // True when the screen pixels changed since the last call (the presenter clears it).
  bool TakeScreenChanged();
  void MarkScreenChanged() { screenChanged_ = true; }

 protected:
  int w_ = 0, h_ = 0;
  bool autoRedraw_ = false;
  bool showImage_ = true;  // screen currently equals the retained image
  bool screenChanged_ = true;
  PicturePtr picture_;
  // The retained image, w_ by h_. Surfaces of one colour share theirs, a background picture of
  // the surface's own size is used as it is, and Image() hands it out without a copy: drawing
  // takes a private copy first (scene windows keep half a dozen 640 by 480 surfaces).
  std::shared_ptr<const Picture> image_;
  bool ownImage_ = false;  // made by this surface, so writable while nobody else holds it
  Color uniform_ = -1;     // the one colour of the whole image when it is known to be one
  mutable std::vector<Color> screen_;  // direct-drawing pixels when they differ from image_

 private:
  std::vector<Color>& WritableImage();
  void FillBackground();
  void Plot(std::vector<Color>& px, int x, int y, Color c);
  void DrawText(std::string_view text, bool newline);
};

// GDI-style access on device-context handles. BitBlt clips source and destination alike (only
// the part inside both is copied) and handles overlapping copies within one surface; an unknown
// raster operation copies nothing and gives false. (PaintPicture and PaintSurface instead read
// black outside their source.)
bool BitBlt(HDC dst, int x, int y, int w, int h, HDC src, int sx, int sy, uint32_t rop);
Color GetPixel(HDC dc, int x, int y);  // -1 outside
Color SetPixel(HDC dc, int x, int y, Color c);
bool SetPixelV(HDC dc, int x, int y, Color c);

// Fonts: measuring and rendering of Windows-1252 text (used by surfaces and controls).
struct TextRun { int width = 0, height = 0; std::vector<uint8_t> coverage; };
// Line height in pixels of a font.
int FontLineHeight(const Font& f);
// Lines longer than kMeasurePiece characters are measured piece by piece (their width is the
// sum of the pieces'), so that neither time nor memory grows faster than their length.
constexpr size_t kMeasurePiece = 512;
int FontTextWidth(const Font& f, std::string_view line);
// The stretch [begin, end) of a line drawn from x that can show between the columns left and
// right, and where that stretch starts; a line within kMeasurePiece is always whole.
struct LinePart { size_t begin = 0, end = 0; int x = 0; };
LinePart VisiblePart(const Font& f, std::string_view line, int x, int left, int right);
// Renders one line: coverage 0..255 per pixel (width x height).
TextRun RenderTextLine(const Font& f, const std::string& line);

}  // namespace rt

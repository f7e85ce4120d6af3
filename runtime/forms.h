// Windows (forms), their controls, timers and the event pump. One thread: every handler runs
// inside DoEvents/WaitForEvent or a modal Show, never on another thread.
//
// A form is a class deriving from rt::Form with its controls as members, declared in z-order
// (later members are drawn on top). Controls name their container in the constructor:
//   class Menu : public rt::Form {
//     rt::PictureBox Picture1{this};
//     rt::Label Label1{this};
//     void InitializeComponent() override { /* design values, handlers */ }
//     void Form_Load() override { ... }
//   };
// Every showing of an unloaded form first runs InitializeComponent() (restoring the controls'
// design values) and then Form_Load(); the object's own fields keep their values.
#pragma once
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "runtime/surface.h"

namespace rt {

class Form;
class Container;

// Mouse buttons and shift bits as the handlers receive them.
enum : int { vbLeftButton = 1, vbRightButton = 2, vbMiddleButton = 4 };
enum : int { vbShiftMask = 1, vbCtrlMask = 2, vbAltMask = 4 };
enum : int { vbDefault = 0, vbArrowQuestion = 14, vbCustom = 99 };
enum : int { vbModeless = 0, vbModal = 1 };
// Unload modes of Form_QueryUnload.
enum : int { vbFormControlMenu = 0, vbFormCode = 1, vbAppWindows = 2, vbAppTaskManager = 3 };

using MouseHandler = std::function<void(int button, int shift, float x, float y)>;
using KeyHandler = std::function<void(int& keyCode, int shift)>;
using KeyPressHandler = std::function<void(int& keyAscii)>;  // set to 0 to swallow the key
using Handler = std::function<void()>;

// ---- Controls ----------------------------------------------------------------------------
class Control {
  friend class Container;

 public:
  // Not explicit, so that control arrays read `rt::Label Label1[4]{this, this, this, this};`.
  Control(Container* parent);
  virtual ~Control();
  Control(const Control&) = delete;
  Control& operator=(const Control&) = delete;

  // Position and size in pixels, relative to the container's client area.
  int Left() const { return left_; }
  int Top() const { return top_; }
  // Controls that size themselves (AutoSize labels, pictures) report their current size.
  virtual int Width() const { return width_; }
  virtual int Height() const { return height_; }
  virtual void Move(int left, int top, int width, int height);
  void Move(int left, int top) { Move(left, top, Width(), Height()); }
  void SetLeft(int v) { Move(v, top_, Width(), Height()); }
  void SetTop(int v) { Move(left_, v, Width(), Height()); }
  void SetWidth(int v) { Move(left_, top_, v, Height()); }
  void SetHeight(int v) { Move(left_, top_, Width(), v); }

  bool Visible() const { return visible_; }
  void SetVisible(bool v);
  bool Enabled() const { return enabled_; }
  void SetEnabled(bool v) { enabled_ = v; }
  std::string ToolTipText;
  int MousePointer = vbDefault;
  PicturePtr MouseIcon;  // an icon picture (LoadPicture of a .ico); used with vbCustom
  int TabIndex = 0;
  bool TabStop = false;

  MouseHandler MouseDown, MouseUp, MouseMove;
  Handler Click, DblClick;

  Container* Parent() const { return parent_; }
  Form* OwnerForm() const;
  // A process-unique handle (never a raw pointer); see FromHandle.
  intptr_t hWnd() const { return handle_; }
  static Control* FromHandle(intptr_t h);
  void SetFocus();
  bool HasFocus() const;
  // Asks the owning form to recompose this control on the next repaint.
  void Invalidate();

  // Runtime internals. Compose draws the control onto the form's frame (fw x fh pixels); (ox, oy)
  // is the container's client origin in the frame, the clip rectangle [clipL, clipR) x
  // [clipT, clipB) is in frame pixels.
  virtual void Compose(std::vector<Color>& frame, int fw, int fh, int ox, int oy, int clipL,
                       int clipT, int clipR, int clipB);
  virtual bool IsContainer() const { return false; }
  virtual bool WantsKeys() const { return false; }
  virtual void OnKeyDown(int& keyCode, int shift) { (void)keyCode; (void)shift; }
  virtual void OnKeyUp(int& keyCode, int shift) { (void)keyCode; (void)shift; }
  virtual void OnKeyPress(int& keyAscii) { (void)keyAscii; }
  virtual void OnTextInput(const std::string& cp1252);
  // Mouse input before the handlers run (buttons press, lists select, ...); x, y relative.
  virtual void OnMouse(int kind, int button, int x, int y) { (void)kind; (void)button; (void)x; (void)y; }
  virtual void OnWheel(int dy) { (void)dy; }
  // Back to the values a freshly made control has (each loading of the form starts there).
  virtual void ResetDesign();
  // A digest of everything that decides the control's look; a change means a repaint.
  virtual uint64_t LookDigest() const;
  // Offset of the client area inside the control (containers with a border).
  virtual int ClientInset() const { return 0; }
  uint64_t lastDigest_ = 0;

 protected:
  Container* parent_;
  int left_ = 0, top_ = 0, width_ = 0, height_ = 0;
  bool visible_ = true, enabled_ = true;
  intptr_t handle_ = 0;
};

// Something that holds controls (forms, frames, picture boxes).
class Container {
 public:
  virtual ~Container();
  const std::vector<Control*>& Children() const { return children_; }
  void AddChild(Control* c) { children_.push_back(c); }
  void RemoveChild(Control* c);
  virtual Form* FormOf() = 0;

 protected:
  std::vector<Control*> children_;
};

class PictureBox : public Control, public Container, public Surface {
 public:
  PictureBox(Container* parent);
  void Move(int left, int top, int width, int height) override;  // resizes the surface
  // 0 none, 1 sunken border of 2 pixels (inner size shrinks by 4 per axis); set it before the
  // size.
  int BorderStyle = 0;
  bool IsContainer() const override { return true; }
  Form* FormOf() override { return OwnerForm(); }
  // Outer size: the surface (which AutoSize may have resized to its picture) plus the border.
  int Width() const override;
  int Height() const override;
  int ClientInset() const override { return BorderStyle ? 2 : 0; }
  void ResetDesign() override;
  uint64_t LookDigest() const override;
  void Compose(std::vector<Color>& frame, int fw, int fh, int ox, int oy, int clipL, int clipT,
               int clipR, int clipB) override;
};

class Label : public Control {
 public:
  Label(Container* parent);
  std::string Caption;
  Font font;
  Color ForeColor = 0, BackColor = RGB(212, 208, 200);
  int BackStyle = 1;   // 0 transparent, 1 opaque
  int Alignment = 0;   // 0 left, 1 right, 2 centre
  bool AutoSize = false, WordWrap = false;
  int BorderStyle = 0;
  void SetCaption(const std::string& c);  // also invalidates; AutoSize resizes
  int Width() const override;   // with AutoSize: the caption's size
  int Height() const override;
  void ResetDesign() override;
  uint64_t LookDigest() const override;
  void Compose(std::vector<Color>& frame, int fw, int fh, int ox, int oy, int clipL, int clipT,
               int clipR, int clipB) override;
};

// A picture holder ("Image" control).
class ImageBox : public Control {
 public:
  ImageBox(Container* parent);
  PicturePtr Picture;
  bool Stretch = false;  // off: the control takes the picture's size
  void SetPicture(PicturePtr p);
  int Width() const override;
  int Height() const override;
  void ResetDesign() override;
  uint64_t LookDigest() const override;
  void Compose(std::vector<Color>& frame, int fw, int fh, int ox, int oy, int clipL, int clipT,
               int clipR, int clipB) override;
};

class CommandButton : public Control {
 public:
  CommandButton(Container* parent);
  std::string Caption;
  Font font;
  bool Default = false, Cancel = false;
  Color BackColor = RGB(212, 208, 200);
  bool WantsKeys() const override { return true; }
  void OnKeyDown(int& keyCode, int shift) override;
  void OnMouse(int kind, int button, int x, int y) override;
  void ResetDesign() override;
  uint64_t LookDigest() const override;
  void Compose(std::vector<Color>& frame, int fw, int fh, int ox, int oy, int clipL, int clipT,
               int clipR, int clipB) override;
  bool pressed_ = false;
};

class TextBox : public Control {
 public:
  TextBox(Container* parent);
  std::string Text;  // Windows-1252
  void SetText(const std::string& t);  // raises Change
  Font font;
  Color ForeColor = 0, BackColor = vbWhite;
  bool MultiLine = false, Locked = false;
  int MaxLength = 0;  // 0 = no limit
  int BorderStyle = 1;
  int SelStart = 0;
  int Alignment = 0;
  // 0 none, 2 vertical (multi-line boxes): a bar at the right edge; clicks above or below its
  // thumb and the mouse wheel scroll the lines, which stay put until the text or caret moves.
  int ScrollBars = 0;
  KeyHandler KeyDown, KeyUp;
  KeyPressHandler KeyPress;  // receives 8, 13, 27 and the typed characters; 0 swallows
  Handler Change;
  bool WantsKeys() const override { return true; }
  void OnKeyDown(int& keyCode, int shift) override;
  void OnKeyUp(int& keyCode, int shift) override;
  void OnKeyPress(int& keyAscii) override;
  void OnMouse(int kind, int button, int x, int y) override;
  void OnWheel(int dy) override;
  void ResetDesign() override;
  uint64_t LookDigest() const override;
  void Compose(std::vector<Color>& frame, int fw, int fh, int ox, int oy, int clipL, int clipT,
               int clipR, int clipB) override;
  // Lines as shown: start and length in Text (multi-line boxes wrap at their width).
  struct Line {
    int start, len;
  };
  const std::vector<Line>& Lines() const;
  int TopLine() const { return scrollTop_; }  // the first line shown

 private:
  bool VerticalBar() const { return MultiLine && ScrollBars == 2; }
  int LinesShown() const;
  void ScrollBy(int lines);
  int scrollTop_ = 0, scrollX_ = 0;  // first line shown, pixels scrolled (one-line boxes)
  uint64_t caretKey_ = 0;            // text and caret when the caret was last brought into view
  mutable std::vector<Line> lines_;
  mutable uint64_t linesKey_ = 0;
};

class Frame : public Control, public Container {
 public:
  Frame(Container* parent);
  std::string Caption;
  Color BackColor = RGB(212, 208, 200);
  int BorderStyle = 0;
  bool IsContainer() const override { return true; }
  Form* FormOf() override { return OwnerForm(); }
  void ResetDesign() override;
  uint64_t LookDigest() const override;
  void Compose(std::vector<Color>& frame, int fw, int fh, int ox, int oy, int clipL, int clipT,
               int clipR, int clipB) override;
};

class FileListBox : public Control {
 public:
  FileListBox(Container* parent);
  // Path and Pattern may also be assigned directly: the list follows on its next use.
  std::string Path;             // system folder path
  std::string Pattern = "*.*";  // "*.xtc"; several separated by ';'
  // Names the list leaves out besides those no system path reaches; set before the path.
  std::function<bool(const std::string& name)> Hides;
  void SetPath(const std::string& p);  // refreshes the list
  void Refresh();
  int ListCount() const;
  std::string List(int i) const;
  int ListIndex = -1;
  Font font;
  bool WantsKeys() const override { return true; }
  void OnKeyDown(int& keyCode, int shift) override;
  void OnMouse(int kind, int button, int x, int y) override;
  void OnWheel(int dy) override;
  void ResetDesign() override;
  uint64_t LookDigest() const override;
  void Compose(std::vector<Color>& frame, int fw, int fh, int ox, int oy, int clipL, int clipT,
               int clipR, int clipB) override;
 private:
  void ScrollToSelection();
  void Freshen();
  std::vector<std::string> items_;
  std::string shownPath_, shownPattern_ = "*.*";
  int topIndex_ = 0;
};

class DriveListBox : public Control {
 public:
  DriveListBox(Container* parent);
  std::string Drive;  // "c:"
  int ListCount() const;
  std::string List(int i) const;  // "c:", "d:" ... in DriveList() order
  int ListIndex = 0;
  // Selects entry i and makes it the Drive (what choosing it in the list does).
  void SetListIndex(int i);
  Font font;
  bool WantsKeys() const override { return true; }
  void OnKeyDown(int& keyCode, int shift) override;
  void ResetDesign() override;
  uint64_t LookDigest() const override;
  void Compose(std::vector<Color>& frame, int fw, int fh, int ox, int oy, int clipL, int clipT,
               int clipR, int clipB) override;
 private:
  std::vector<std::string> drives_;
};

// ---- Timers ------------------------------------------------------------------------------
// Ticks are ordinary events. Interval 0 never ticks; intervals below the classic desktop timer
// resolution tick every 15.625 ms. Switching on (or changing the interval) restarts the count.
// A tick never nests inside its own handler. A timer of a form ticks only while it is loaded.
class Timer {
 public:
  explicit Timer(Form* owner = nullptr);
  ~Timer();
  Timer(const Timer&) = delete;
  Timer& operator=(const Timer&) = delete;
  int Interval() const { return interval_; }
  void SetInterval(int ms);  // 0..65535
  bool Enabled() const { return enabled_; }
  void SetEnabled(bool on);
  Handler Tick;
  // Runtime internals: the clock time (ms) of the next tick; the count runs in microseconds so
  // that the 15.625 ms floor gives exactly 64 ticks a second.
  uint64_t NextDue() const { return (dueUs_ + 999) / 1000; }
  Form* Owner() const { return owner_; }
  bool running_ = false;
  void Restart();
  uint64_t PeriodUs() const;
  uint64_t dueUs_ = 0;
  unsigned pass_ = 0;

 private:
  Form* owner_;
  int interval_ = 0;
  bool enabled_ = false;
};

// ---- Forms -------------------------------------------------------------------------------
class Form : public Container, public Surface {
 public:
  Form();
  ~Form() override;
  Form* FormOf() override { return this; }

  // Design-time properties (set them in InitializeComponent).
  std::string Caption;           // Windows-1252
  int BorderStyle = 2;           // 0 none, 1 fixed single, 2 sizable, 3 fixed dialog
  bool ControlBox = true;        // false: no close box, the window manager's close is ignored
  bool MinButton = true, MaxButton = true;
  bool ShowInTaskbar = true;     // false: dialogs that stay out of the task bar
  bool KeyPreview = false;
  int StartUpPosition = 2;       // 0 manual, 1 centre owner, 2 centre screen
  int MousePointer = vbDefault;
  PicturePtr MouseIcon;

  // Client area size in pixels (ScaleWidth/ScaleHeight) and the outer window size in pixels
  // and in twips (15 per pixel).
  void SetClientSize(int w, int h);
  // The smallest client area the user may size the window to (0, 0: no limit).
  void SetMinClientSize(int w, int h);
  int OuterWidthPx() const;
  int OuterHeightPx() const;
  int Width() const { return OuterWidthPx() * 15; }   // twips
  int Height() const { return OuterHeightPx() * 15; } // twips
  void SetWidth(int twips);
  void SetHeight(int twips);
  static int TwipsPerPixelX() { return 15; }
  static int TwipsPerPixelY() { return 15; }
  int Left() const;  // pixels on the screen
  int Top() const;
  void MoveWindow(int leftPx, int topPx);
  int WindowState() const;  // 0 normal, 1 minimised, 2 maximised

  // Show: loads when needed (InitializeComponent, Form_Load), then shows. Modal returns once the
  // form is hidden or unloaded; meanwhile every window gets events and timer ticks, but only the
  // modal form (and its own modal children) take mouse and key input.
  void Show(int modal = vbModeless, Form* owner = nullptr);
  void Hide();
  // Form_QueryUnload (may cancel), then Form_Unload (may cancel); then the window goes away.
  // Returns false when cancelled. Unloading an unloaded form does nothing.
  bool Unload(int mode = vbFormCode);
  bool Loaded() const { return loaded_; }
  bool Visible() const { return visible_; }
  void SetCaption(const std::string& c);
  void Refresh();
  intptr_t hWnd() const { return handle_; }
  static Form* FromHandle(intptr_t h);
  Control* ActiveControl() const { return focus_; }
  void SetFocusTo(Control* c);

  // Handlers.
  virtual void InitializeComponent() {}
  virtual void Form_Load() {}
  virtual void Form_Activate() {}
  virtual void Form_QueryUnload(int& cancel, int unloadMode) { (void)cancel; (void)unloadMode; }
  virtual void Form_Unload(int& cancel) { (void)cancel; }
  virtual void Form_Resize() {}
  virtual void Form_Paint() {}
  virtual void Form_KeyDown(int& keyCode, int shift) { (void)keyCode; (void)shift; }
  virtual void Form_KeyUp(int& keyCode, int shift) { (void)keyCode; (void)shift; }
  virtual void Form_KeyPress(int& keyAscii) { (void)keyAscii; }
  virtual void Form_MouseDown(int button, int shift, float x, float y) { (void)button; (void)shift; (void)x; (void)y; }
  virtual void Form_MouseUp(int button, int shift, float x, float y) { (void)button; (void)shift; (void)x; (void)y; }
  virtual void Form_MouseMove(int button, int shift, float x, float y) { (void)button; (void)shift; (void)x; (void)y; }
  virtual void Form_Click() {}

  // Runtime internals: the composed client-area pixels (what the window shows).
  const std::vector<Color>& ComposedFrame();
  struct Impl;
  Impl* impl() const { return impl_; }
  // Resets the design properties of the form, its surface, controls and timers.
  void ResetAllDesign();
  bool unloading_ = false;

 private:
  friend class Control;
  friend struct FormAccess;
  Impl* impl_;
  bool loaded_ = false, visible_ = false;
  intptr_t handle_ = 0;
  Control* focus_ = nullptr;
};

// ---- Event pump --------------------------------------------------------------------------
// Runs every pending event (input, timer ticks that are due, window-manager requests, repaints
// of changed windows), each handler nested inside the caller, then returns.
void DoEvents();
// Sleeps until an event is pending, a timer is due or the clock reaches deadline_ms, whichever
// comes first; never past the deadline; runs no handler. With the virtual clock it jumps the
// clock instead of sleeping.
void WaitForEvent(uint64_t deadline_ms);
// Test hooks: synthetic input delivered through the same queue as real events.
void PostKey(Form& f, int keyCode, bool down, int shift = 0);
void PostChar(Form& f, const std::string& cp1252);
void PostMouse(Form& f, int kind /*0 move, 1 down, 2 up*/, int button, int x, int y);
void PostClose(Form& f);  // the window manager's close request
// The runtime is started on first use; Shutdown closes every window (used by tests and exit).
void ShutdownRuntime();
// Starts the runtime; whether its windows can be seen. False without a display, and when all
// SDL offers is a driver that shows nothing (off-screen, dummy) that SDL_VIDEODRIVER did not
// name: windows then stay invisible.
bool DisplayAvailable();

// ---- Message boxes -----------------------------------------------------------------------
enum : int { vbOKOnly = 0, vbOKCancel = 1, vbYesNo = 4, vbCritical = 16, vbQuestion = 32,
             vbExclamation = 48, vbInformation = 64 };
enum : int { vbOK = 1, vbCancel = 2, vbYes = 6, vbNo = 7 };
// A real modal box on screen (title "" means the application title "Norvalde").
int MsgBox(const std::string& text, int buttons = vbOKOnly, const std::string& title = "");
// Tests install a recorder instead (nullptr restores the real box).
using MsgBoxHook = std::function<int(const std::string& text, int buttons, const std::string& title)>;
void SetMsgBoxHook(MsgBoxHook hook);

// Screen size in pixels (the display the windows open on).
int ScreenWidth();
int ScreenHeight();

}  // namespace rt

// Forms and controls as objects: handles, containers, design values, loading and unloading,
// timers. Everything that talks to SDL lives in pump.cpp.
#include <algorithm>
#include <cstring>
#include <unordered_map>

#include "runtime/forms_internal.h"
#include "runtime/system.h"

namespace rt {

// The tables are never destroyed: forms and controls kept in statics leave them at exit.
namespace {
std::unordered_map<intptr_t, Control*>& ControlTable() {
  static auto* t = new std::unordered_map<intptr_t, Control*>;
  return *t;
}
std::vector<Form*>& FormList() {
  static auto* v = new std::vector<Form*>;
  return *v;
}
}  // namespace

intptr_t NewHandle() {
  static intptr_t next = 0x10000;
  next += 4;
  return next;
}

void RegisterControl(Control* c, intptr_t& handle) {
  handle = NewHandle();
  ControlTable()[handle] = c;
}

void UnregisterControl(intptr_t handle) { ControlTable().erase(handle); }

void RegisterForm(Form* f) { FormList().push_back(f); }
void UnregisterForm(Form* f) {
  auto& v = FormList();
  v.erase(std::remove(v.begin(), v.end(), f), v.end());
}
const std::vector<Form*>& AllForms() { return FormList(); }

std::vector<Timer*>& AllTimers() {
  static auto* v = new std::vector<Timer*>;
  return *v;
}

uint64_t Mix(uint64_t h, const std::string& s) {
  for (unsigned char c : s) h = Mix(h, c);
  return Mix(h, s.size());
}

uint64_t Mix(uint64_t h, const Font& f) {
  h = Mix(h, f.name);
  uint32_t bits = 0;
  static_assert(sizeof(float) == sizeof(bits));
  std::memcpy(&bits, &f.size, sizeof bits);
  return Mix(h, bits | (uint64_t(f.bold) << 32) | (uint64_t(f.italic) << 33) |
                    (uint64_t(f.underline) << 34));
}

// ---- Control -----------------------------------------------------------------------------

Control::Control(Container* parent) : parent_(parent) {
  RegisterControl(this, handle_);
  if (parent_) parent_->AddChild(this);
}

Control::~Control() {
  if (Form* f = OwnerForm()) {
    if (f->focus_ == this) f->focus_ = nullptr;
    if (f->impl()->capture == this) f->impl()->capture = nullptr;
    f->impl()->needsCompose = true;
  }
  if (parent_) parent_->RemoveChild(this);
  UnregisterControl(handle_);
}

Form* Control::OwnerForm() const { return parent_ ? parent_->FormOf() : nullptr; }

Control* Control::FromHandle(intptr_t h) {
  auto& t = ControlTable();
  auto it = t.find(h);
  return it == t.end() ? nullptr : it->second;
}

void Control::Move(int left, int top, int width, int height) {
  left_ = left;
  top_ = top;
  width_ = std::max(width, 0);
  height_ = std::max(height, 0);
  Invalidate();
}

void Control::SetVisible(bool v) {
  if (visible_ == v) return;
  visible_ = v;
  Invalidate();
}

void Control::SetFocus() {
  if (Form* f = OwnerForm()) f->SetFocusTo(this);
}

bool Control::HasFocus() const {
  const Form* f = OwnerForm();
  return f && f->focus_ == this;
}

void Control::Invalidate() {
  if (Form* f = OwnerForm()) f->impl()->needsCompose = true;
}

void Control::OnTextInput(const std::string& cp1252) {
  for (unsigned char ch : cp1252) {
    int k = ch;
    OnKeyPress(k);
  }
}

void Control::ResetDesign() {
  left_ = top_ = width_ = height_ = 0;
  visible_ = enabled_ = true;
  ToolTipText.clear();
  MousePointer = vbDefault;
  MouseIcon = nullptr;
  TabIndex = 0;
  TabStop = false;
}

uint64_t Control::LookDigest() const {
  uint64_t h = 0xCBF29CE484222325ull;
  h = Mix(h, uint64_t(uint32_t(left_)) | uint64_t(uint32_t(top_)) << 32);
  h = Mix(h, uint64_t(uint32_t(Width())) | uint64_t(uint32_t(Height())) << 32);
  return Mix(h, uint64_t(visible_) | uint64_t(enabled_) << 1 | uint64_t(HasFocus()) << 2);
}

void Control::Compose(std::vector<Color>&, int, int, int, int, int, int, int, int) {}

// ---- Container ---------------------------------------------------------------------------

Container::~Container() {
  // Children declared before their container outlive it; they must not reach back.
  for (Control* c : children_) c->parent_ = nullptr;
}

void Container::RemoveChild(Control* c) {
  children_.erase(std::remove(children_.begin(), children_.end(), c), children_.end());
}

// ---- Timer -------------------------------------------------------------------------------

Timer::Timer(Form* owner) : owner_(owner) { AllTimers().push_back(this); }

Timer::~Timer() {
  auto& v = AllTimers();
  v.erase(std::remove(v.begin(), v.end(), this), v.end());
}

uint64_t Timer::PeriodUs() const {
  // The classic desktop timer cannot tick faster than 64 times a second.
  return interval_ < 16 ? 15625 : uint64_t(interval_) * 1000;
}

void Timer::Restart() { dueUs_ = timeGetTime() * 1000 + PeriodUs(); }

void Timer::SetInterval(int ms) {
  ms = std::clamp(ms, 0, 65535);
  if (ms == interval_) return;
  interval_ = ms;
  if (enabled_) Restart();
}

void Timer::SetEnabled(bool on) {
  if (on && !enabled_) {
    enabled_ = true;
    Restart();
  } else if (!on) {
    enabled_ = false;
  }
}

namespace {
bool TimerCanTick(const Timer* t) {
  return t->Enabled() && t->Interval() > 0 && !t->running_ &&
         (!t->Owner() || t->Owner()->Loaded());
}
bool TimerAlive(const Timer* t) {
  const auto& v = AllTimers();
  return std::find(v.begin(), v.end(), t) != v.end();
}
}  // namespace

uint64_t NextTimerDue() {
  uint64_t due = UINT64_MAX;
  for (const Timer* t : AllTimers())
    if (TimerCanTick(t)) due = std::min(due, t->NextDue());
  return due;
}

void RunDueTimers() {
  static unsigned pass = 0;
  const unsigned myPass = ++pass;
  // Each timer ticks at most once per pass, earliest due first.
  for (size_t guard = AllTimers().size() + 1; guard > 0; --guard) {
    const uint64_t now = timeGetTime();
    Timer* next = nullptr;
    for (Timer* t : AllTimers()) {
      if (!TimerCanTick(t) || t->pass_ == myPass || t->NextDue() > now) continue;
      if (!next || t->dueUs_ < next->dueUs_) next = t;
    }
    if (!next) return;
    next->pass_ = myPass;
    next->dueUs_ += next->PeriodUs();
    // Late by more than a period (a long handler, a busy machine): no burst of catch-up ticks.
    if (next->NextDue() <= now) next->dueUs_ = now * 1000 + next->PeriodUs();
    Handler tick = next->Tick;
    if (!tick) continue;
    next->running_ = true;
    tick();
    if (TimerAlive(next)) next->running_ = false;
  }
}

// ---- Form --------------------------------------------------------------------------------

Form::Form() : impl_(new Impl) {
  handle_ = NewHandle();
  RegisterForm(this);
}

Form::~Form() {
  DestroyWindowFor(*this);
  PopModal(this);
  UnregisterForm(this);
  delete impl_;
}

Form* Form::FromHandle(intptr_t h) {
  if (!h) return nullptr;
  for (Form* f : AllForms())
    if (f->handle_ == h) return f;
  return nullptr;
}

void ResetSurface(Surface& s) {
  const Surface fresh;
  s.BackColor = fresh.BackColor;
  s.ForeColor = fresh.ForeColor;
  s.DrawMode = fresh.DrawMode;
  s.DrawWidth = fresh.DrawWidth;
  s.font = fresh.font;
  s.AutoSize = false;
  s.SetAutoRedraw(false);
  s.ResizeSurface(0, 0);
  s.SetPicture(nullptr);
  s.CurrentX = s.CurrentY = 0;
}

namespace {
void ResetTree(Container& c) {
  for (Control* ch : c.Children()) {
    ch->ResetDesign();
    if (auto* sub = dynamic_cast<Container*>(ch)) ResetTree(*sub);
  }
}
}  // namespace

namespace {
// A freshly loaded window's surfaces show their design BackColor and Picture.
void ClearSurfaces(Container& c) {
  if (auto* s = dynamic_cast<Surface*>(&c)) s->Cls();
  for (Control* ch : c.Children())
    if (auto* sub = dynamic_cast<Container*>(ch)) ClearSurfaces(*sub);
}
}  // namespace

void Form::ResetAllDesign() {
  Caption.clear();
  BorderStyle = 2;
  ControlBox = true;
  MinButton = MaxButton = true;
  ShowInTaskbar = true;
  KeyPreview = false;
  StartUpPosition = 2;
  MousePointer = vbDefault;
  MouseIcon = nullptr;
  impl_->minW = impl_->minH = 0;
  impl_->placed = false;
  ResetSurface(*this);
  ResetTree(*this);
  for (Timer* t : AllTimers()) {
    if (t->Owner() != this) continue;
    t->SetEnabled(false);
    t->SetInterval(0);
  }
  impl_->needsCompose = true;
}

void Form::SetFocusTo(Control* c) {
  if (c && (c->OwnerForm() != this || !c->WantsKeys())) return;
  if (focus_ == c) return;
  focus_ = c;
  impl_->needsCompose = true;
}

namespace {
void CollectFocusable(Container& c, std::vector<Control*>& out) {
  for (Control* ch : c.Children()) {
    if (!ch->Visible() || !ch->Enabled()) continue;
    if (ch->WantsKeys() && ch->TabStop) out.push_back(ch);
    if (auto* sub = dynamic_cast<Container*>(ch)) CollectFocusable(*sub, out);
  }
}
}  // namespace

std::vector<Control*> TabOrder(Form& f) {  // focusable controls, by TabIndex
  std::vector<Control*> v;
  CollectFocusable(f, v);
  std::stable_sort(v.begin(), v.end(),
                   [](const Control* a, const Control* b) { return a->TabIndex < b->TabIndex; });
  return v;
}

void Form::Show(int modal, Form* owner) {
  if (!loaded_) {
    ResetAllDesign();
    InitializeComponent();
    ClearSurfaces(*this);
    loaded_ = true;
    focus_ = nullptr;
    Form_Load();
    // The load handler may have unloaded the form again.
    if (!loaded_) return;
    if (!focus_) {
      auto order = TabOrder(*this);
      if (!order.empty()) focus_ = order.front();
    }
  }
  if (owner && owner != this) impl_->owner = owner->hWnd();
  else if (!FromHandle(impl_->owner) || modal) {
    Form* a = ActiveForm();
    if (a != this) impl_->owner = a ? a->hWnd() : 0;
  }
  if (!visible_) {
    visible_ = true;
    impl_->modal = modal == vbModal;
    ShowWindowFor(*this, true);
    Form_Resize();
    if (!loaded_ || !visible_) return;
    Form_Activate();
  }
  if (modal != vbModal) return;
  const intptr_t me = handle_;
  PushModal(this);
  while (FromHandle(me) && loaded_ && visible_) {
    DoEvents();
    if (!FromHandle(me) || !loaded_ || !visible_) break;
    WaitForEvent(UINT64_MAX);
  }
  if (FromHandle(me)) PopModal(this);
}

void Form::Hide() {
  if (!visible_) return;
  visible_ = false;
  ShowWindowFor(*this, false);
}

bool Form::Unload(int mode) {
  if (!loaded_) return true;
  if (unloading_) return false;  // asked again from inside its own unload handlers
  unloading_ = true;
  int cancel = 0;
  Form_QueryUnload(cancel, mode);
  if (!cancel) Form_Unload(cancel);
  unloading_ = false;
  if (cancel || !loaded_) return !loaded_;
  loaded_ = false;
  visible_ = false;
  focus_ = nullptr;
  FormUnloaded(*this);
  return true;
}

void Form::SetCaption(const std::string& c) {
  Caption = c;
  SyncWindow(*this);
}

void Form::SetClientSize(int w, int h) {
  // No screen is larger; a wild size from a data file must not ask for gigabytes.
  w = std::clamp(w, 0, 16384);
  h = std::clamp(h, 0, 16384);
  if (w == ScaleWidth() && h == ScaleHeight()) return;
  ResizeSurface(w, h);
  impl_->needsCompose = true;
  SyncWindow(*this);
  if (loaded_ && visible_) Form_Resize();
}

void Form::SetMinClientSize(int w, int h) {
  impl_->minW = std::max(w, 0);
  impl_->minH = std::max(h, 0);
  SyncWindow(*this);
}

void Form::Refresh() {
  Surface::Refresh();
  if (loaded_ && visible_) PresentForm(*this, true);
}

}  // namespace rt

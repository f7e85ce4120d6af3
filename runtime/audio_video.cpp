// Video and media decoding with FFmpeg. Everything but the mixer's sound callbacks runs on the
// one thread inside the event pump; the video's callback only reads the sound queue below, a
// speech stream's callback decodes its own file and nothing else.
#include "runtime/audio_video.h"

#include <SDL.h>
#include <SDL_mixer.h>

#include <algorithm>
#include <atomic>
#include <climits>
#include <cstring>
#include <deque>
#include <mutex>
#include <vector>

#include "runtime/audio_internal.h"
#include "runtime/forms.h"
#include "runtime/internal.h"

#include "runtime/ffmpeg_api.h"

namespace rt::audio_detail {
namespace {

// ---- Video sound: a queue of samples stamped with the output frame they belong to ---------
struct SoundQueue {
  std::mutex mu;
  std::deque<int16_t> data;  // interleaved, the output's channel count
  int64_t front = 0;         // output frame of data.front()
  int64_t play = 0;          // the next output frame since the video started
  const void* owner = nullptr;
  int channels = 2;
};
SoundQueue g_sound;
bool g_soundHooked = false;
Mix_Chunk* g_silence = nullptr;
uint8_t g_zeros[4096];

// Runs on the mixer's thread: replaces the silent carrier chunk with the queued samples that
// are due, dropping late ones and leaving gaps silent, so the sound stays on the clock.
void SoundEffect(int, void* stream, int len, void*) {
  std::lock_guard<std::mutex> lock(g_sound.mu);
  auto* out = static_cast<int16_t*>(stream);
  const int ch = g_sound.channels;
  const int frames = len / (2 * ch);
  if (!g_sound.owner) {
    std::memset(stream, 0, size_t(len));
    return;
  }
  auto& q = g_sound.data;
  for (int f = 0; f < frames; ++f, ++g_sound.play) {
    while (!q.empty() && g_sound.front < g_sound.play) {
      q.erase(q.begin(), q.begin() + ch);
      ++g_sound.front;
    }
    if (!q.empty() && g_sound.front == g_sound.play) {
      std::copy(q.begin(), q.begin() + ch, out + f * ch);
      q.erase(q.begin(), q.begin() + ch);
      ++g_sound.front;
    } else {
      std::fill(out + f * ch, out + (f + 1) * ch, int16_t(0));
    }
  }
}

bool HookVideoSound() {
  if (g_soundHooked) return true;
  if (!EnsureOpen()) return false;
  g_silence = Mix_QuickLoad_RAW(g_zeros, sizeof g_zeros);
  if (!g_silence) return false;
  Mix_PlayChannel(kVideoChannel, g_silence, -1);
  Mix_RegisterEffect(kVideoChannel, SoundEffect, nullptr, nullptr);
  g_soundHooked = true;
  return true;
}

void QuietFfmpeg() {
  static bool done = false;
  if (!done) av_log_set_level(AV_LOG_FATAL);
  done = true;
}

bool IsMovingPicture(const AVStream* s) {
  return s->codecpar->codec_type == AVMEDIA_TYPE_VIDEO && !(s->disposition & AV_DISPOSITION_ATTACHED_PIC);
}

// A damaged header can claim no channels (the mixer divides by the count) or absurd rates.
bool PlayableSound(const AVStream* s) {
  const AVCodecParameters* p = s->codecpar;
  return p->codec_type == AVMEDIA_TYPE_AUDIO && p->ch_layout.nb_channels >= 1 &&
         p->ch_layout.nb_channels <= 8 && p->sample_rate >= 1000 && p->sample_rate <= 384000;
}

AVCodecContext* OpenDecoder(const AVStream* s) {
  const AVCodec* codec = avcodec_find_decoder(s->codecpar->codec_id);
  if (!codec) return nullptr;
  AVCodecContext* c = avcodec_alloc_context3(codec);
  if (!c) return nullptr;
  if (avcodec_parameters_to_context(c, s->codecpar) < 0 || avcodec_open2(c, codec, nullptr) < 0)
    avcodec_free_context(&c);
  return c;
}

// Turns decoded sound into the output's 16-bit samples. It is set up again whenever a frame's
// layout, format or rate differs from the last: a decoder may learn the real format only from
// its data, and a damaged file can change it from one frame to the next.
struct SoundConverter {
  SwrContext* swr = nullptr;
  AVChannelLayout layout{};
  int rate = 0, format = -1;

  ~SoundConverter() {
    swr_free(&swr);
    av_channel_layout_uninit(&layout);
  }

  // False, and no converter, for sound that cannot play.
  bool For(const AVChannelLayout& inLayout, int inFormat, int inRate) {
    AVChannelLayout in{};
    if (inLayout.order == AV_CHANNEL_ORDER_UNSPEC || av_channel_layout_check(&inLayout) == 0)
      av_channel_layout_default(&in, inLayout.nb_channels);
    else if (av_channel_layout_copy(&in, &inLayout) < 0)
      return false;
    if (swr && rate == inRate && format == inFormat && av_channel_layout_compare(&layout, &in) == 0) {
      av_channel_layout_uninit(&in);
      return true;
    }
    swr_free(&swr);
    AVChannelLayout out;
    av_channel_layout_default(&out, OutputChannels());
    const bool ok = in.nb_channels >= 1 && in.nb_channels <= 8 && inRate >= 1000 && inRate <= 384000 &&
                    swr_alloc_set_opts2(&swr, &out, AV_SAMPLE_FMT_S16, OutputRate(), &in, AVSampleFormat(inFormat),
                                        inRate, 0, nullptr) >= 0 &&
                    swr_init(swr) >= 0;
    av_channel_layout_uninit(&out);
    av_channel_layout_uninit(&layout);
    layout = in;
    rate = inRate;
    format = inFormat;
    if (!ok) swr_free(&swr);
    return ok;
  }
  bool For(const AVFrame* f) {
    return f->nb_samples > 0 && f->extended_data && For(f->ch_layout, f->format, f->sample_rate);
  }
};

int64_t ToMs(int64_t ts, AVRational tb) {
  return av_rescale_q(ts, tb, AVRational{1, 1000});
}

struct Input {
  AVFormatContext* fmt = nullptr;
  ~Input() { avformat_close_input(&fmt); }
  bool Open(const std::string& host) {
    QuietFfmpeg();
    // The demuxer opens the file by its name, which it also reads the format's hint from.
    if (!IsRegularFile(host) || avformat_open_input(&fmt, host.c_str(), nullptr, nullptr) < 0) return false;
    return avformat_find_stream_info(fmt, nullptr) >= 0;
  }
};

// The length in ms: the container's, else the longest stream's, else by reading every packet.
int64_t LengthMs(AVFormatContext* fmt) {
  if (fmt->duration != AV_NOPTS_VALUE && fmt->duration > 0) return fmt->duration / 1000;
  int64_t best = -1;
  for (unsigned i = 0; i < fmt->nb_streams; ++i) {
    const AVStream* s = fmt->streams[i];
    if (s->duration != AV_NOPTS_VALUE && s->duration > 0) best = std::max(best, ToMs(s->duration, s->time_base));
  }
  if (best >= 0) return best;
  int64_t origin = fmt->start_time != AV_NOPTS_VALUE ? fmt->start_time / 1000 : 0;
  AVPacket* pkt = av_packet_alloc();
  best = 0;
  while (pkt && av_read_frame(fmt, pkt) >= 0) {
    const AVStream* s = fmt->streams[pkt->stream_index];
    if (pkt->pts != AV_NOPTS_VALUE)
      best = std::max(best, ToMs(pkt->pts + std::max<int64_t>(pkt->duration, 0), s->time_base) - origin);
    av_packet_unref(pkt);
  }
  av_packet_free(&pkt);
  return best;
}

}  // namespace

bool ProbeMedia(const std::string& hostpath, MediaInfo& info) {
  if (!ffmpeg::Available()) return false;
  Input in;
  if (!in.Open(hostpath)) return false;
  info = MediaInfo{};
  for (unsigned i = 0; i < in.fmt->nb_streams; ++i) {
    if (IsMovingPicture(in.fmt->streams[i])) info.hasVideo = true;
    if (PlayableSound(in.fmt->streams[i])) info.hasAudio = true;
  }
  if (!info.hasVideo && !info.hasAudio) return false;
  info.container = in.fmt->iformat->name;
  info.lengthMs = LengthMs(in.fmt);
  return true;
}

void ShutdownVideoSound() {
  if (!g_soundHooked) return;
  Mix_HaltChannel(kVideoChannel);  // also drops the effect
  Mix_FreeChunk(g_silence);
  g_silence = nullptr;
  g_soundHooked = false;
  std::lock_guard<std::mutex> lock(g_sound.mu);
  g_sound.data.clear();
  g_sound.owner = nullptr;
}

// ---- The player ----------------------------------------------------------------------------
struct VideoPlayer::Impl {
  Input in;
  AVCodecContext* vdec = nullptr;
  AVCodecContext* adec = nullptr;
  int vIndex = -1, aIndex = -1;
  int64_t originMs = 0;  // the container's start time: the first frame plays at 0
  int64_t lengthMs = 0;
  AVPacket* pkt = av_packet_alloc();
  AVFrame* frame = av_frame_alloc();
  AVFrame* pending = av_frame_alloc();  // the next frame, not yet due
  AVFrame* due = av_frame_alloc();      // the latest frame that is due
  int64_t pendingMs = 0;
  bool hasPending = false, hasDue = false;
  int64_t lastVideoMs = -1;
  std::deque<AVPacket*> vq, aq;
  bool demuxEof = false, vFlushed = false, aFlushed = false, videoDone = false;
  SwsContext* sws = nullptr;
  SoundConverter conv;
  std::vector<uint32_t> rgb;
  int64_t soundNext = -1;  // output frame of the next sample to queue
  uint64_t startAt = 0;
  intptr_t parent = 0;
  bool placed = false;
  int px = 0, py = 0, pw = 0, ph = 0;
  bool drew = false;

  ~Impl() {
    {
      std::lock_guard<std::mutex> lock(g_sound.mu);
      if (g_sound.owner == this) {
        g_sound.owner = nullptr;
        g_sound.data.clear();
      }
    }
    for (AVPacket* p : vq) av_packet_free(&p);
    for (AVPacket* p : aq) av_packet_free(&p);
    avcodec_free_context(&vdec);
    avcodec_free_context(&adec);
    av_packet_free(&pkt);
    av_frame_free(&frame);
    av_frame_free(&pending);
    av_frame_free(&due);
    sws_freeContext(sws);
  }

  bool ReadPacket() {
    if (demuxEof) return false;
    if (av_read_frame(in.fmt, pkt) < 0) {
      demuxEof = true;
      return false;
    }
    if (pkt->stream_index == vIndex) vq.push_back(av_packet_clone(pkt));
    else if (pkt->stream_index == aIndex) aq.push_back(av_packet_clone(pkt));
    av_packet_unref(pkt);
    return true;
  }

  int64_t FrameMs(const AVFrame* f, AVRational tb) const {
    int64_t ts = f->best_effort_timestamp;
    if (ts == AV_NOPTS_VALUE) return -1;
    return ToMs(ts, tb) - originMs;
  }

  void QueueSound(AVFrame* f) {
    const int rate = OutputRate(), ch = OutputChannels();
    if (soundNext < 0) {
      int64_t ms = std::max<int64_t>(0, FrameMs(f, in.fmt->streams[aIndex]->time_base));
      soundNext = ms * rate / 1000;
    }
    if (!conv.For(f)) return;
    int cap = swr_get_out_samples(conv.swr, f->nb_samples);
    if (cap <= 0) return;
    std::vector<int16_t> buf(size_t(cap) * ch);
    uint8_t* out[1] = {reinterpret_cast<uint8_t*>(buf.data())};
    int n = swr_convert(conv.swr, out, cap, const_cast<const uint8_t**>(f->extended_data), f->nb_samples);
    if (n <= 0) return;
    std::lock_guard<std::mutex> lock(g_sound.mu);
    if (g_sound.owner != this) return;
    if (g_sound.data.empty()) g_sound.front = soundNext;
    g_sound.data.insert(g_sound.data.end(), buf.begin(), buf.begin() + size_t(n) * ch);
    soundNext += n;
  }

  // Decodes sound until it reaches `untilMs` (or runs out).
  void DecodeSound(int64_t untilMs) {
    if (!adec || !conv.swr) return;
    const int rate = OutputRate();
    while (soundNext < 0 || soundNext * 1000 / rate < untilMs) {
      int r = avcodec_receive_frame(adec, frame);
      if (r == 0) {
        QueueSound(frame);
        av_frame_unref(frame);
        continue;
      }
      if (r != AVERROR(EAGAIN)) return;
      if (!aq.empty()) {
        AVPacket* p = aq.front();
        aq.pop_front();
        avcodec_send_packet(adec, p);  // a damaged packet is skipped
        av_packet_free(&p);
      } else if (!demuxEof) {
        if (vq.size() > 500) return;  // a file with far more picture than sound ahead
        ReadPacket();
      } else if (!aFlushed) {
        aFlushed = true;
        avcodec_send_packet(adec, nullptr);
      } else {
        return;
      }
    }
  }

  // Moves the frames that are due by `elapsed` through; the last one is kept to be drawn.
  void DecodeVideo(int64_t elapsed) {
    AVRational tb = in.fmt->streams[vIndex]->time_base;
    for (;;) {
      if (hasPending) {
        if (pendingMs > elapsed) return;
        av_frame_unref(due);
        av_frame_move_ref(due, pending);
        hasPending = false;
        hasDue = true;
      }
      int r = avcodec_receive_frame(vdec, pending);
      if (r == 0) {
        int64_t ms = FrameMs(pending, tb);
        if (ms < 0) {  // no time stamp: one frame after the last
          AVRational fr = in.fmt->streams[vIndex]->avg_frame_rate;
          ms = lastVideoMs + (fr.num > 0 ? int64_t(1000.0 * fr.den / fr.num) : 40);
        }
        pendingMs = lastVideoMs = ms;
        hasPending = true;
        continue;
      }
      if (r != AVERROR(EAGAIN)) {
        videoDone = true;
        return;
      }
      if (!vq.empty()) {
        AVPacket* p = vq.front();
        vq.pop_front();
        avcodec_send_packet(vdec, p);
        av_packet_free(&p);
      } else if (!demuxEof) {
        if (aq.size() > 2000) {  // sound with no picture ahead: do not hoard it
          AVPacket* p = aq.front();
          aq.pop_front();
          av_packet_free(&p);
        }
        ReadPacket();
      } else if (!vFlushed) {
        vFlushed = true;
        avcodec_send_packet(vdec, nullptr);
      } else {
        videoDone = true;
        return;
      }
    }
  }

  PictureBox* Target() const {
    return parent ? dynamic_cast<PictureBox*>(Control::FromHandle(parent)) : nullptr;
  }

  void Draw(const AVFrame* f) {
    PictureBox* pb = Target();
    if (!pb) return;
    int x = placed ? px : 0, y = placed ? py : 0;
    int w = placed ? pw : f->width, h = placed ? ph : f->height;
    if (w <= 0 || h <= 0 || f->width <= 0 || f->height <= 0) return;
    sws = sws_getCachedContext(sws, f->width, f->height, AVPixelFormat(f->format), w, h,
                               AV_PIX_FMT_RGB0, SWS_BILINEAR, nullptr, nullptr, nullptr);
    if (!sws) return;
    rgb.resize(size_t(w) * h);
    uint8_t* dst[1] = {reinterpret_cast<uint8_t*>(rgb.data())};
    int stride[1] = {w * 4};
    sws_scale(sws, f->data, f->linesize, 0, f->height, dst, stride);

    // The screen only: the retained image stays the scene, which a repaint shows again.
    bool redraw = pb->AutoRedraw();
    if (redraw) pb->SetAutoRedraw(false);
    std::vector<Color>& px = pb->DrawPixels();
    const int sw = pb->ScaleWidth(), sh = pb->ScaleHeight();
    const int x0 = std::max(0, x), y0 = std::max(0, y);
    const int x1 = std::min(sw, x + w), y1 = std::min(sh, y + h);
    for (int yy = y0; yy < y1; ++yy) {
      const uint32_t* src = &rgb[size_t(yy - y) * w + (x0 - x)];
      Color* d = &px[size_t(yy) * sw + x0];
      for (int xx = x0; xx < x1; ++xx) *d++ = Color(*src++ & 0xFFFFFF);
    }
    if (redraw) pb->SetAutoRedraw(true);
    pb->MarkScreenChanged();
    drew = true;
  }
};

VideoPlayer::VideoPlayer() : p_(std::make_unique<Impl>()) {}

VideoPlayer::~VideoPlayer() {
  if (p_->drew && !Exiting())
    if (PictureBox* pb = p_->Target()) pb->Refresh();
}

bool VideoPlayer::Open(const std::string& hostpath) {
  Impl& m = *p_;
  if (!m.pkt || !m.frame || !m.pending || !m.due || !m.in.Open(hostpath)) return false;
  AVFormatContext* fmt = m.in.fmt;
  for (unsigned i = 0; i < fmt->nb_streams; ++i) {
    if (m.vIndex < 0 && IsMovingPicture(fmt->streams[i])) m.vIndex = int(i);
    if (m.aIndex < 0 && PlayableSound(fmt->streams[i])) m.aIndex = int(i);
  }
  if (m.vIndex < 0 || !(m.vdec = OpenDecoder(fmt->streams[m.vIndex]))) return false;
  m.originMs = fmt->start_time != AV_NOPTS_VALUE ? fmt->start_time / 1000 : 0;
  m.lengthMs = LengthMs(fmt);
  if (fmt->duration == AV_NOPTS_VALUE && av_seek_frame(fmt, -1, 0, AVSEEK_FLAG_BACKWARD) < 0) return false;
  // Sound is optional: a video whose sound cannot be decoded plays silently.
  if (m.aIndex >= 0 && EnsureOpen()) {
    m.adec = OpenDecoder(fmt->streams[m.aIndex]);
    if (m.adec) m.conv.For(m.adec->ch_layout, m.adec->sample_fmt, m.adec->sample_rate);
  }
  return true;
}

void VideoPlayer::SetParent(intptr_t hWnd) { p_->parent = hWnd; }

void VideoPlayer::Place(int x, int y, int w, int h) {
  Impl& m = *p_;
  m.placed = true;
  m.px = x, m.py = y, m.pw = w, m.ph = h;
}

void VideoPlayer::Start(uint64_t now) {
  Impl& m = *p_;
  m.startAt = now;
  if (m.conv.swr && HookVideoSound()) {
    std::lock_guard<std::mutex> lock(g_sound.mu);
    g_sound.data.clear();
    g_sound.front = g_sound.play = 0;
    g_sound.channels = OutputChannels();
    g_sound.owner = &m;
  }
}

uint64_t VideoPlayer::Step(uint64_t now) {
  Impl& m = *p_;
  const int64_t elapsed = int64_t(now - m.startAt);
  const int64_t soundLead = 250;  // ms of sound queued ahead of the clock
  m.DecodeSound(elapsed + soundLead);
  if (!m.videoDone) m.DecodeVideo(elapsed);
  if (m.hasDue) {
    m.Draw(m.due);
    av_frame_unref(m.due);
    m.hasDue = false;
  }
  uint64_t next = UINT64_MAX;
  if (m.hasPending) next = m.startAt + uint64_t(std::max<int64_t>(m.pendingMs, elapsed));
  if (m.conv.swr && !m.aFlushed && elapsed < m.lengthMs) next = std::min(next, now + 100);
  return next;
}

// ---- Speech streams ------------------------------------------------------------------------
struct SoundStream::Impl {
  Input in;
  AVCodecContext* dec = nullptr;
  SoundConverter conv;
  int index = -1;
  AVPacket* pkt = av_packet_alloc();
  AVFrame* frame = av_frame_alloc();
  std::vector<int16_t> pcm;  // decoded, not yet played (the output's rate and channels)
  size_t pcmAt = 0;
  bool sentEnd = false, drained = false;
  std::atomic<bool> ended{false};

  ~Impl() {
    avcodec_free_context(&dec);
    av_packet_free(&pkt);
    av_frame_free(&frame);
  }

  void Append(const AVFrame* f) {
    const int ch = OutputChannels();
    SwrContext* swr = conv.swr;
    const int cap = f ? swr_get_out_samples(swr, f->nb_samples) : swr_get_out_samples(swr, 0);
    if (cap <= 0) return;
    if (pcmAt > 0) {
      pcm.erase(pcm.begin(), pcm.begin() + ptrdiff_t(pcmAt));
      pcmAt = 0;
    }
    const size_t old = pcm.size();
    pcm.resize(old + size_t(cap) * ch);
    uint8_t* out[1] = {reinterpret_cast<uint8_t*>(pcm.data() + old)};
    const int n = f ? swr_convert(swr, out, cap, const_cast<const uint8_t**>(f->extended_data), f->nb_samples)
                    : swr_convert(swr, out, cap, nullptr, 0);
    pcm.resize(old + size_t(std::max(n, 0)) * ch);
  }

  // Decodes the next piece of sound; false at the end of it (or of what can be decoded).
  bool DecodeMore() {
    for (;;) {
      const int r = avcodec_receive_frame(dec, frame);
      if (r == 0) {
        const bool ok = conv.For(frame);
        if (ok) Append(frame);
        av_frame_unref(frame);
        if (ok) return true;
        continue;  // a frame in a format that cannot be played is skipped
      }
      if (r != AVERROR(EAGAIN)) {
        if (conv.swr && !drained) {  // what the resampler still holds
          drained = true;
          Append(nullptr);
          return true;
        }
        return false;
      }
      if (sentEnd) return false;
      if (av_read_frame(in.fmt, pkt) < 0) {
        sentEnd = true;
        avcodec_send_packet(dec, nullptr);
        continue;
      }
      if (pkt->stream_index == index) avcodec_send_packet(dec, pkt);  // a damaged packet is skipped
      av_packet_unref(pkt);
    }
  }
};

SoundStream::SoundStream() = default;
SoundStream::~SoundStream() = default;

bool SoundStream::Open(const std::string& hostpath) {
  if (!ffmpeg::Available()) return false;
  p_ = std::make_unique<Impl>();
  Impl& m = *p_;
  if (!m.pkt || !m.frame || !m.in.Open(hostpath)) return false;
  for (unsigned i = 0; i < m.in.fmt->nb_streams && m.index < 0; ++i)
    if (PlayableSound(m.in.fmt->streams[i])) m.index = int(i);
  if (m.index < 0) return false;
  m.dec = OpenDecoder(m.in.fmt->streams[m.index]);
  return m.dec != nullptr;
}

void SoundStream::Fill(int16_t* out, int frames) {
  const size_t ch = size_t(OutputChannels());
  size_t want = size_t(std::max(frames, 0)) * ch;
  if (!p_) {
    std::memset(out, 0, want * sizeof(int16_t));
    return;
  }
  Impl& m = *p_;
  while (want > 0) {
    if (m.pcmAt >= m.pcm.size()) {
      m.pcm.clear();
      m.pcmAt = 0;
      if (m.ended || !m.DecodeMore()) {
        m.ended = true;
        break;
      }
      continue;
    }
    const size_t n = std::min(want, m.pcm.size() - m.pcmAt);
    std::memcpy(out, m.pcm.data() + m.pcmAt, n * sizeof(int16_t));
    m.pcmAt += n;
    out += n;
    want -= n;
  }
  std::memset(out, 0, want * sizeof(int16_t));
}

bool SoundStream::Ended() const { return !p_ || p_->ended; }

}  // namespace rt::audio_detail

// Writing sound and video files for the content generator and the tests.
#include <cmath>
#include <cstdio>
#include <cstring>
#include <memory>

#include "runtime/audio.h"

#include "runtime/ffmpeg_api.h"

namespace rt {

bool WriteWaveFile(const std::string& hostpath, const std::vector<int16_t>& samples, int rate,
                   int channels) {
  if (rate <= 0 || channels <= 0) return false;
  std::string out;
  auto le = [&](uint32_t v, int n) {
    for (int i = 0; i < n; ++i) out += char((v >> (8 * i)) & 0xFF);
  };
  uint32_t data = uint32_t(samples.size() * 2);
  out += "RIFF";
  le(36 + data, 4);
  out += "WAVEfmt ";
  le(16, 4);
  le(1, 2);
  le(channels, 2);
  le(rate, 4);
  le(rate * channels * 2, 4);
  le(channels * 2, 2);
  le(16, 2);
  out += "data";
  le(data, 4);
  for (int16_t s : samples) le(uint16_t(s), 2);
  FILE* f = std::fopen(hostpath.c_str(), "wb");
  if (!f) return false;
  bool ok = std::fwrite(out.data(), 1, out.size(), f) == out.size();
  return std::fclose(f) == 0 && ok;
}

namespace {

struct Encoder {
  AVCodecContext* ctx = nullptr;
  AVStream* stream = nullptr;
  ~Encoder() { avcodec_free_context(&ctx); }
};

// An output file with its streams; everything is released whatever happens.
struct Muxer {
  AVFormatContext* oc = nullptr;
  AVPacket* pkt = av_packet_alloc();
  bool headerWritten = false;
  ~Muxer() {
    if (oc) {
      if (oc->pb) avio_closep(&oc->pb);
      avformat_free_context(oc);
    }
    av_packet_free(&pkt);
  }

  bool Open(const std::string& path) {
    return pkt && avformat_alloc_output_context2(&oc, nullptr, nullptr, path.c_str()) >= 0 && oc;
  }

  bool AddStream(Encoder& e, const AVCodec* codec, void (*setup)(AVCodecContext*, void*),
                 void* arg) {
    if (!codec) return false;
    e.stream = avformat_new_stream(oc, nullptr);
    e.ctx = avcodec_alloc_context3(codec);
    if (!e.stream || !e.ctx) return false;
    setup(e.ctx, arg);
    if (oc->oformat->flags & AVFMT_GLOBALHEADER) e.ctx->flags |= AV_CODEC_FLAG_GLOBAL_HEADER;
    if (avcodec_open2(e.ctx, codec, nullptr) < 0) return false;
    if (avcodec_parameters_from_context(e.stream->codecpar, e.ctx) < 0) return false;
    e.stream->time_base = e.ctx->time_base;
    return true;
  }

  bool Start(const std::string& path) {
    if (!(oc->oformat->flags & AVFMT_NOFILE) && avio_open(&oc->pb, path.c_str(), AVIO_FLAG_WRITE) < 0)
      return false;
    headerWritten = avformat_write_header(oc, nullptr) >= 0;
    return headerWritten;
  }

  // Sends a frame (nullptr flushes) and writes whatever packets come out.
  bool Send(Encoder& e, AVFrame* frame) {
    if (avcodec_send_frame(e.ctx, frame) < 0) return false;
    for (;;) {
      int r = avcodec_receive_packet(e.ctx, pkt);
      if (r == AVERROR(EAGAIN) || r == AVERROR_EOF) return true;
      if (r < 0) return false;
      av_packet_rescale_ts(pkt, e.ctx->time_base, e.stream->time_base);
      pkt->stream_index = e.stream->index;
      if (av_interleaved_write_frame(oc, pkt) < 0) return false;
    }
  }

  bool Finish() { return av_write_trailer(oc) >= 0; }
};

struct AudioSetup { int rate, channels, bitrate; };
void SetupAudio(AVCodecContext* c, void* arg) {
  auto* a = static_cast<AudioSetup*>(arg);
  c->sample_rate = a->rate;
  av_channel_layout_default(&c->ch_layout, a->channels);
  c->bit_rate = a->bitrate;
  c->time_base = AVRational{1, a->rate};
  const enum AVSampleFormat* fmts = c->codec->sample_fmts;
  c->sample_fmt = fmts ? fmts[0] : AV_SAMPLE_FMT_S16;
  for (int i = 0; fmts && fmts[i] != AV_SAMPLE_FMT_NONE; ++i)
    if (fmts[i] == AV_SAMPLE_FMT_S16) c->sample_fmt = AV_SAMPLE_FMT_S16;
}

// Feeds interleaved 16-bit samples [from, to) (in sample frames) to an audio encoder, in the
// encoder's frame size and sample format. `next` counts the frames sent so far.
bool EncodeAudio(Muxer& m, Encoder& e, const std::vector<int16_t>& samples, int channels,
                 int64_t to, int64_t& next, bool last) {
  int frameSize = e.ctx->frame_size > 0 ? e.ctx->frame_size : 1024;
  int64_t total = int64_t(samples.size()) / channels;
  std::unique_ptr<AVFrame, void (*)(AVFrame*)> fr(av_frame_alloc(), [](AVFrame* f) { av_frame_free(&f); });
  if (!fr) return false;
  while (next < to && (to - next >= frameSize || last)) {
    int n = int(std::min<int64_t>(frameSize, to - next));
    if (e.ctx->frame_size > 0 && !(e.ctx->codec->capabilities & AV_CODEC_CAP_VARIABLE_FRAME_SIZE))
      n = frameSize;  // fixed-size encoders get a padded last frame
    av_frame_unref(fr.get());
    fr->nb_samples = n;
    fr->format = e.ctx->sample_fmt;
    fr->sample_rate = e.ctx->sample_rate;
    if (av_channel_layout_copy(&fr->ch_layout, &e.ctx->ch_layout) < 0) return false;
    if (av_frame_get_buffer(fr.get(), 0) < 0) return false;
    for (int i = 0; i < n; ++i) {
      for (int c = 0; c < channels; ++c) {
        int64_t at = next + i;
        int16_t s = at < total ? samples[size_t(at * channels + c)] : 0;
        switch (e.ctx->sample_fmt) {
          case AV_SAMPLE_FMT_S16: reinterpret_cast<int16_t*>(fr->data[0])[i * channels + c] = s; break;
          case AV_SAMPLE_FMT_S16P: reinterpret_cast<int16_t*>(fr->data[c])[i] = s; break;
          case AV_SAMPLE_FMT_S32P: reinterpret_cast<int32_t*>(fr->data[c])[i] = int32_t(s) << 16; break;
          case AV_SAMPLE_FMT_FLTP: reinterpret_cast<float*>(fr->data[c])[i] = s / 32768.0f; break;
          case AV_SAMPLE_FMT_FLT: reinterpret_cast<float*>(fr->data[0])[i * channels + c] = s / 32768.0f; break;
          default: return false;
        }
      }
    }
    fr->pts = next;
    next += n;
    if (!m.Send(e, fr.get())) return false;
  }
  return true;
}

}  // namespace

bool WriteMp3File(const std::string& hostpath, const std::vector<int16_t>& samples, int rate,
                  int channels) {
  if (rate <= 0 || channels <= 0 || channels > 2 || !ffmpeg::Available()) return false;
  Muxer m;
  Encoder e;
  AudioSetup a{rate, channels, 128000};
  if (!m.Open(hostpath) || !m.AddStream(e, avcodec_find_encoder(AV_CODEC_ID_MP3), SetupAudio, &a))
    return false;
  if (!m.Start(hostpath)) return false;
  int64_t next = 0;
  int64_t total = int64_t(samples.size()) / channels;
  if (!EncodeAudio(m, e, samples, channels, total, next, true)) return false;
  return m.Send(e, nullptr) && m.Finish();
}

namespace {

struct VideoSetup { int width, height, fps; bool mpeg1; };
void SetupVideo(AVCodecContext* c, void* arg) {
  auto* v = static_cast<VideoSetup*>(arg);
  c->width = v->width;
  c->height = v->height;
  c->time_base = AVRational{1, v->fps};
  c->framerate = AVRational{v->fps, 1};
  c->pix_fmt = AV_PIX_FMT_YUV420P;
  c->gop_size = 12;
  c->bit_rate = 2000000;
  c->max_b_frames = v->mpeg1 ? 2 : 0;
}

}  // namespace

bool WriteVideoFile(const std::string& hostpath, int width, int height, int fps, int frames,
                    FramePainter frame, double toneHz) {
  if (width <= 0 || height <= 0 || fps <= 0 || frames <= 0 || !frame || !ffmpeg::Available()) return false;
  bool mpeg1 = hostpath.size() >= 4 &&
               strcasecmp(hostpath.c_str() + hostpath.size() - 4, ".avi") != 0;
  Muxer m;
  Encoder ve, ae;
  VideoSetup vs{width, height, fps, mpeg1};
  if (!m.Open(hostpath)) return false;
  if (!m.AddStream(ve, avcodec_find_encoder(mpeg1 ? AV_CODEC_ID_MPEG1VIDEO : AV_CODEC_ID_MPEG4),
                   SetupVideo, &vs))
    return false;
  const int rate = 44100, channels = 2;
  AudioSetup as{rate, channels, 128000};
  bool sound = toneHz > 0;
  if (sound && !m.AddStream(ae, avcodec_find_encoder(mpeg1 ? AV_CODEC_ID_MP2 : AV_CODEC_ID_PCM_S16LE),
                            SetupAudio, &as))
    return false;
  if (!m.Start(hostpath)) return false;

  std::vector<int16_t> tone;
  if (sound) {
    int64_t n = int64_t(frames) * rate / fps;
    tone.resize(size_t(n * channels));
    for (int64_t i = 0; i < n; ++i)
      for (int c = 0; c < channels; ++c)
        tone[size_t(i * channels + c)] = int16_t(8000 * std::sin(2 * M_PI * toneHz * i / rate));
  }
  SwsContext* sws = sws_getContext(width, height, AV_PIX_FMT_RGB0, width, height,
                                   AV_PIX_FMT_YUV420P, SWS_BILINEAR, nullptr, nullptr, nullptr);
  std::unique_ptr<AVFrame, void (*)(AVFrame*)> fr(av_frame_alloc(), [](AVFrame* f) { av_frame_free(&f); });
  bool ok = sws && fr;
  if (ok) {
    fr->format = AV_PIX_FMT_YUV420P;
    fr->width = width;
    fr->height = height;
    ok = av_frame_get_buffer(fr.get(), 0) >= 0;
  }
  std::vector<int32_t> pixels(size_t(width) * height);
  int64_t audioNext = 0;
  for (int i = 0; ok && i < frames; ++i) {
    std::fill(pixels.begin(), pixels.end(), 0);
    frame(i, width, height, pixels);
    ok = av_frame_make_writable(fr.get()) >= 0;
    const uint8_t* src[1] = {reinterpret_cast<const uint8_t*>(pixels.data())};
    int srcStride[1] = {width * 4};
    if (ok) sws_scale(sws, src, srcStride, 0, height, fr->data, fr->linesize);
    fr->pts = i;
    ok = ok && m.Send(ve, fr.get());
    if (ok && sound)
      ok = EncodeAudio(m, ae, tone, channels, int64_t(i + 1) * rate / fps, audioNext, i + 1 == frames);
  }
  sws_freeContext(sws);
  ok = ok && m.Send(ve, nullptr) && (!sound || m.Send(ae, nullptr));
  return ok && m.Finish();
}

}  // namespace rt

// FFmpeg, opened on first use instead of at start-up: its libraries and the ninety or so they
// bring along (codecs, TLS, SVG) cost about 18 MB and a good part of the start, and most of a
// session plays no speech, mp3 music or video. Runtime-private; included instead of the FFmpeg
// headers by the sources that decode or write media. Calls to the functions below go through
// the table, so the sources read as plain FFmpeg code. Before the first call of a media task,
// check Available(): without the libraries every entry is empty.
#pragma once

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavformat/avformat.h>
#include <libavutil/channel_layout.h>
#include <libavutil/opt.h>
#include <libswresample/swresample.h>
#include <libswscale/swscale.h>
}

#define NORVALDE_FFMPEG_FUNCTIONS(X)                                                               \
  X(av_channel_layout_check) X(av_channel_layout_compare) X(av_channel_layout_copy)                \
  X(av_channel_layout_default) X(av_channel_layout_uninit) X(av_frame_alloc) X(av_frame_free)      \
  X(av_frame_get_buffer) X(av_frame_make_writable) X(av_frame_move_ref) X(av_frame_unref)          \
  X(av_interleaved_write_frame) X(av_log_set_level) X(av_packet_alloc) X(av_packet_clone)          \
  X(av_packet_free) X(av_packet_rescale_ts) X(av_packet_unref) X(av_read_frame) X(av_rescale_q)    \
  X(av_seek_frame) X(av_write_trailer) X(avcodec_alloc_context3) X(avcodec_find_decoder)           \
  X(avcodec_find_encoder) X(avcodec_free_context) X(avcodec_open2)                                 \
  X(avcodec_parameters_from_context) X(avcodec_parameters_to_context) X(avcodec_receive_frame)     \
  X(avcodec_receive_packet) X(avcodec_send_frame) X(avcodec_send_packet)                           \
  X(avformat_alloc_output_context2) X(avformat_close_input) X(avformat_find_stream_info)           \
  X(avformat_free_context) X(avformat_new_stream) X(avformat_open_input) X(avformat_write_header)  \
  X(avio_closep) X(avio_open) X(swr_alloc_set_opts2) X(swr_convert) X(swr_free)                    \
  X(swr_get_out_samples) X(swr_init) X(sws_freeContext) X(sws_getCachedContext) X(sws_getContext) \
  X(sws_scale)

namespace rt::ffmpeg {

struct Api {
#define NORVALDE_FFMPEG_MEMBER(name) decltype(&::name) name = nullptr;
  NORVALDE_FFMPEG_FUNCTIONS(NORVALDE_FFMPEG_MEMBER)
#undef NORVALDE_FFMPEG_MEMBER
};

// Opens the libraries on the first call; false when they or one of the functions are missing.
bool Available();
const Api& Get();

}  // namespace rt::ffmpeg

#define av_channel_layout_check(...) ::rt::ffmpeg::Get().av_channel_layout_check(__VA_ARGS__)
#define av_channel_layout_compare(...) ::rt::ffmpeg::Get().av_channel_layout_compare(__VA_ARGS__)
#define av_channel_layout_copy(...) ::rt::ffmpeg::Get().av_channel_layout_copy(__VA_ARGS__)
#define av_channel_layout_default(...) ::rt::ffmpeg::Get().av_channel_layout_default(__VA_ARGS__)
#define av_channel_layout_uninit(...) ::rt::ffmpeg::Get().av_channel_layout_uninit(__VA_ARGS__)
#define av_frame_alloc(...) ::rt::ffmpeg::Get().av_frame_alloc(__VA_ARGS__)
#define av_frame_free(...) ::rt::ffmpeg::Get().av_frame_free(__VA_ARGS__)
#define av_frame_get_buffer(...) ::rt::ffmpeg::Get().av_frame_get_buffer(__VA_ARGS__)
#define av_frame_make_writable(...) ::rt::ffmpeg::Get().av_frame_make_writable(__VA_ARGS__)
#define av_frame_move_ref(...) ::rt::ffmpeg::Get().av_frame_move_ref(__VA_ARGS__)
#define av_frame_unref(...) ::rt::ffmpeg::Get().av_frame_unref(__VA_ARGS__)
#define av_interleaved_write_frame(...) ::rt::ffmpeg::Get().av_interleaved_write_frame(__VA_ARGS__)
#define av_log_set_level(...) ::rt::ffmpeg::Get().av_log_set_level(__VA_ARGS__)
#define av_packet_alloc(...) ::rt::ffmpeg::Get().av_packet_alloc(__VA_ARGS__)
#define av_packet_clone(...) ::rt::ffmpeg::Get().av_packet_clone(__VA_ARGS__)
#define av_packet_free(...) ::rt::ffmpeg::Get().av_packet_free(__VA_ARGS__)
#define av_packet_rescale_ts(...) ::rt::ffmpeg::Get().av_packet_rescale_ts(__VA_ARGS__)
#define av_packet_unref(...) ::rt::ffmpeg::Get().av_packet_unref(__VA_ARGS__)
#define av_read_frame(...) ::rt::ffmpeg::Get().av_read_frame(__VA_ARGS__)
#define av_rescale_q(...) ::rt::ffmpeg::Get().av_rescale_q(__VA_ARGS__)
#define av_seek_frame(...) ::rt::ffmpeg::Get().av_seek_frame(__VA_ARGS__)
#define av_write_trailer(...) ::rt::ffmpeg::Get().av_write_trailer(__VA_ARGS__)
#define avcodec_alloc_context3(...) ::rt::ffmpeg::Get().avcodec_alloc_context3(__VA_ARGS__)
#define avcodec_find_decoder(...) ::rt::ffmpeg::Get().avcodec_find_decoder(__VA_ARGS__)
#define avcodec_find_encoder(...) ::rt::ffmpeg::Get().avcodec_find_encoder(__VA_ARGS__)
#define avcodec_free_context(...) ::rt::ffmpeg::Get().avcodec_free_context(__VA_ARGS__)
#define avcodec_open2(...) ::rt::ffmpeg::Get().avcodec_open2(__VA_ARGS__)
#define avcodec_parameters_from_context(...) ::rt::ffmpeg::Get().avcodec_parameters_from_context(__VA_ARGS__)
#define avcodec_parameters_to_context(...) ::rt::ffmpeg::Get().avcodec_parameters_to_context(__VA_ARGS__)
#define avcodec_receive_frame(...) ::rt::ffmpeg::Get().avcodec_receive_frame(__VA_ARGS__)
#define avcodec_receive_packet(...) ::rt::ffmpeg::Get().avcodec_receive_packet(__VA_ARGS__)
#define avcodec_send_frame(...) ::rt::ffmpeg::Get().avcodec_send_frame(__VA_ARGS__)
#define avcodec_send_packet(...) ::rt::ffmpeg::Get().avcodec_send_packet(__VA_ARGS__)
#define avformat_alloc_output_context2(...) ::rt::ffmpeg::Get().avformat_alloc_output_context2(__VA_ARGS__)
#define avformat_close_input(...) ::rt::ffmpeg::Get().avformat_close_input(__VA_ARGS__)
#define avformat_find_stream_info(...) ::rt::ffmpeg::Get().avformat_find_stream_info(__VA_ARGS__)
#define avformat_free_context(...) ::rt::ffmpeg::Get().avformat_free_context(__VA_ARGS__)
#define avformat_new_stream(...) ::rt::ffmpeg::Get().avformat_new_stream(__VA_ARGS__)
#define avformat_open_input(...) ::rt::ffmpeg::Get().avformat_open_input(__VA_ARGS__)
#define avformat_write_header(...) ::rt::ffmpeg::Get().avformat_write_header(__VA_ARGS__)
#define avio_closep(...) ::rt::ffmpeg::Get().avio_closep(__VA_ARGS__)
#define avio_open(...) ::rt::ffmpeg::Get().avio_open(__VA_ARGS__)
#define swr_alloc_set_opts2(...) ::rt::ffmpeg::Get().swr_alloc_set_opts2(__VA_ARGS__)
#define swr_convert(...) ::rt::ffmpeg::Get().swr_convert(__VA_ARGS__)
#define swr_free(...) ::rt::ffmpeg::Get().swr_free(__VA_ARGS__)
#define swr_get_out_samples(...) ::rt::ffmpeg::Get().swr_get_out_samples(__VA_ARGS__)
#define swr_init(...) ::rt::ffmpeg::Get().swr_init(__VA_ARGS__)
#define sws_freeContext(...) ::rt::ffmpeg::Get().sws_freeContext(__VA_ARGS__)
#define sws_getCachedContext(...) ::rt::ffmpeg::Get().sws_getCachedContext(__VA_ARGS__)
#define sws_getContext(...) ::rt::ffmpeg::Get().sws_getContext(__VA_ARGS__)
#define sws_scale(...) ::rt::ffmpeg::Get().sws_scale(__VA_ARGS__)

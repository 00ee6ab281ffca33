// Ogg Vorbis encoding through libvorbisenc. The stream serial is fixed and
// the input is fed in fixed-size blocks, so the bytes never vary.
#include <stdexcept>

#include <vorbis/vorbisenc.h>

#include "music.h"

namespace datagen {

Bytes encodeOgg(const Track& t) {
  vorbis_info vi;
  vorbis_info_init(&vi);
  if (vorbis_encode_init_vbr(&vi, 2, t.rate, 0.6f) != 0) {
    vorbis_info_clear(&vi);
    throw std::runtime_error("vorbis: encoder set-up failed");
  }
  vorbis_comment vc;
  vorbis_comment_init(&vc);
  vorbis_comment_add_tag(&vc, "TITLE", "Velmora");
  vorbis_comment_add_tag(&vc, "ARTIST", "Drov");
  vorbis_dsp_state vd;
  vorbis_block vb;
  vorbis_analysis_init(&vd, &vi);
  vorbis_block_init(&vd, &vb);
  ogg_stream_state os;
  ogg_stream_init(&os, 0x56454c4d);

  Bytes out;
  ogg_page og;
  ogg_packet op;
  auto putPage = [&] {
    out.insert(out.end(), og.header, og.header + og.header_len);
    out.insert(out.end(), og.body, og.body + og.body_len);
  };
  {
    ogg_packet header, comments, codebooks;
    vorbis_analysis_headerout(&vd, &vc, &header, &comments, &codebooks);
    ogg_stream_packetin(&os, &header);
    ogg_stream_packetin(&os, &comments);
    ogg_stream_packetin(&os, &codebooks);
    while (ogg_stream_flush(&os, &og) != 0) putPage();
  }
  const std::size_t total = t.left.size();
  constexpr std::size_t kBlock = 1024;
  std::size_t pos = 0;
  bool eos = false;
  while (!eos) {
    const std::size_t n = std::min(kBlock, total - pos);
    if (n == 0) {
      vorbis_analysis_wrote(&vd, 0);
    } else {
      float** buf = vorbis_analysis_buffer(&vd, static_cast<int>(n));
      for (std::size_t i = 0; i < n; ++i) {
        buf[0][i] = t.left[pos + i];
        buf[1][i] = t.right[pos + i];
      }
      vorbis_analysis_wrote(&vd, static_cast<int>(n));
      pos += n;
    }
    while (vorbis_analysis_blockout(&vd, &vb) == 1) {
      vorbis_analysis(&vb, nullptr);
      vorbis_bitrate_addblock(&vb);
      while (vorbis_bitrate_flushpacket(&vd, &op)) {
        ogg_stream_packetin(&os, &op);
        while (!eos && ogg_stream_pageout(&os, &og) != 0) {
          putPage();
          if (ogg_page_eos(&og)) eos = true;
        }
      }
    }
    if (n == 0 && !eos) {
      // the encoder has flushed everything after the empty write
      while (ogg_stream_flush(&os, &og) != 0) putPage();
      eos = true;
    }
  }
  ogg_stream_clear(&os);
  vorbis_block_clear(&vb);
  vorbis_dsp_clear(&vd);
  vorbis_comment_clear(&vc);
  vorbis_info_clear(&vi);
  return out;
}

}  // namespace datagen

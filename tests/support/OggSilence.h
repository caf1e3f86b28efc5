// Ogg Vorbis files of silence made in memory: silence packs into a few bytes a second, so a small
// file can stand for minutes or hours of samples (what a hostile data folder sends to the decoder).
#pragma once
#include <vorbis/vorbisenc.h>

#include <cstdint>
#include <string>

namespace testsupport {

// `seconds` of silence at that rate and channel count, encoded at the lowest quality.
inline std::string OggSilence(double seconds, int hertz = 8000, int channels = 1) {
    vorbis_info info;
    vorbis_info_init(&info);
    std::string out;
    if (vorbis_encode_init_vbr(&info, channels, hertz, -0.1f) != 0) {
        vorbis_info_clear(&info);
        return out;
    }
    vorbis_comment comment;
    vorbis_comment_init(&comment);
    vorbis_dsp_state dsp;
    vorbis_analysis_init(&dsp, &info);
    vorbis_block block;
    vorbis_block_init(&dsp, &block);
    ogg_stream_state stream;
    ogg_stream_init(&stream, 1);
    auto page = [&](ogg_page& p) {
        out.append(reinterpret_cast<const char*>(p.header), static_cast<size_t>(p.header_len));
        out.append(reinterpret_cast<const char*>(p.body), static_cast<size_t>(p.body_len));
    };
    ogg_packet header, commentPacket, codebooks;
    vorbis_analysis_headerout(&dsp, &comment, &header, &commentPacket, &codebooks);
    ogg_stream_packetin(&stream, &header);
    ogg_stream_packetin(&stream, &commentPacket);
    ogg_stream_packetin(&stream, &codebooks);
    ogg_page p;
    while (ogg_stream_flush(&stream, &p) != 0) page(p);
    int64_t left = static_cast<int64_t>(seconds * hertz);
    bool ended = false;
    while (!ended) {
        const int frames = static_cast<int>(left < 4096 ? left : 4096);
        if (frames > 0) {
            float** buffer = vorbis_analysis_buffer(&dsp, frames);
            for (int c = 0; c < channels; ++c)
                for (int i = 0; i < frames; ++i) buffer[c][i] = 0.0f;
        }
        vorbis_analysis_wrote(&dsp, frames);  // 0: the end of the stream
        left -= frames;
        while (vorbis_analysis_blockout(&dsp, &block) == 1) {
            vorbis_analysis(&block, nullptr);
            vorbis_bitrate_addblock(&block);
            ogg_packet packet;
            while (vorbis_bitrate_flushpacket(&dsp, &packet) != 0) {
                ogg_stream_packetin(&stream, &packet);
                while (ogg_stream_pageout(&stream, &p) != 0) {
                    page(p);
                    if (ogg_page_eos(&p)) ended = true;
                }
            }
        }
        if (frames == 0) {
            while (ogg_stream_flush(&stream, &p) != 0) page(p);
            ended = true;
        }
    }
    ogg_stream_clear(&stream);
    vorbis_block_clear(&block);
    vorbis_dsp_clear(&dsp);
    vorbis_comment_clear(&comment);
    vorbis_info_clear(&info);
    return out;
}

// The same stream with its last page claiming `granule` frames in all (the length a decoder
// learns before decoding), its checksum made good: a file that lies about its length.
inline std::string OggClaimingFrames(std::string ogg, int64_t granule) {
    const size_t last = ogg.rfind("OggS");
    if (last == std::string::npos || last + 27 > ogg.size()) return ogg;
    for (int i = 0; i < 8; ++i) ogg[last + 6 + i] = static_cast<char>((granule >> (8 * i)) & 0xFF);
    // libogg makes the page's checksum good again (the last page runs to the end of the file).
    ogg_page page;
    page.header = reinterpret_cast<unsigned char*>(&ogg[last]);
    page.header_len = 27 + static_cast<unsigned char>(ogg[last + 26]);
    if (last + page.header_len > ogg.size()) return ogg;
    page.body = page.header + page.header_len;
    page.body_len = static_cast<long>(ogg.size() - last - page.header_len);
    ogg_page_checksum_set(&page);
    return ogg;
}

}  // namespace testsupport

#include "ZipWriter.h"

#include <zlib.h>

#include <cstdio>
#include <stdexcept>

namespace {

void Put16(std::string& s, uint32_t v) {
    s.push_back(char(v & 0xFF));
    s.push_back(char((v >> 8) & 0xFF));
}
void Put32(std::string& s, uint32_t v) {
    Put16(s, v & 0xFFFF);
    Put16(s, v >> 16);
}

std::string RawDeflate(const std::string& data, int level) {
    z_stream zs{};
    if (deflateInit2(&zs, level, Z_DEFLATED, -15, 8, Z_DEFAULT_STRATEGY) != Z_OK)
        throw std::runtime_error("deflateInit2 failed");
    std::string out(deflateBound(&zs, data.size()) + 16, '\0');
    zs.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(data.data()));
    zs.avail_in = static_cast<uInt>(data.size());
    zs.next_out = reinterpret_cast<Bytef*>(out.data());
    zs.avail_out = static_cast<uInt>(out.size());
    const int rc = deflate(&zs, Z_FINISH);
    deflateEnd(&zs);
    if (rc != Z_STREAM_END) throw std::runtime_error("deflate failed");
    out.resize(zs.total_out);
    return out;
}

}  // namespace

void ZipWriter::SetPrefix(std::string prefix) {
    m_prefixSize = prefix.size();
    m_out = std::move(prefix) + m_out;
}

void ZipWriter::SetComment(std::string comment) { m_comment = std::move(comment); }

void ZipWriter::Add(const std::string& name, const std::string& data, const EntryOptions& o) {
    const uint32_t crc = crc32(0, reinterpret_cast<const Bytef*>(data.data()),
                               static_cast<uInt>(data.size()));
    const std::string payload = o.deflate ? RawDeflate(data, o.level) : data;
    const uint16_t method = o.deflate ? 8 : 0;
    const uint16_t flags = (o.descriptor == Descriptor::None ? 0 : 0x0008) | o.extraFlags;
    const bool inLocal = o.descriptor == Descriptor::None;

    EntryInfo info;
    info.name = name;
    info.localOffset = m_out.size();
    Put32(m_out, 0x04034b50);
    Put16(m_out, 20);
    Put16(m_out, flags);
    Put16(m_out, method);
    Put16(m_out, o.dosTime);
    Put16(m_out, o.dosDate);
    Put32(m_out, inLocal ? crc : 0);
    Put32(m_out, inLocal ? uint32_t(payload.size()) : 0);
    Put32(m_out, inLocal ? uint32_t(data.size()) : 0);
    Put16(m_out, uint32_t(name.size()));
    Put16(m_out, uint32_t(o.localExtra.size()));
    m_out += name;
    m_out += o.localExtra;
    info.dataOffset = m_out.size();
    info.compressedSize = payload.size();
    m_out += payload;
    if (o.descriptor == Descriptor::WithSignature) Put32(m_out, 0x08074b50);
    if (o.descriptor != Descriptor::None) {
        Put32(m_out, crc);
        Put32(m_out, uint32_t(payload.size()));
        Put32(m_out, uint32_t(data.size()));
    }

    // Central offsets are relative to the archive's start, not to any prefix.
    info.centralOffset = m_central.size();
    Put32(m_central, 0x02014b50);
    Put16(m_central, o.versionMadeBy);
    Put16(m_central, 20);
    Put16(m_central, flags);
    Put16(m_central, method);
    Put16(m_central, o.dosTime);
    Put16(m_central, o.dosDate);
    Put32(m_central, crc);
    Put32(m_central, uint32_t(payload.size()));
    Put32(m_central, uint32_t(data.size()));
    Put16(m_central, uint32_t(name.size()));
    Put16(m_central, 0);
    Put16(m_central, 0);
    Put16(m_central, 0);
    Put16(m_central, 0);
    Put32(m_central, o.externalAttributes);
    Put32(m_central, uint32_t(info.localOffset - m_prefixSize));
    m_central += name;
    m_entries.push_back(info);
}

void ZipWriter::AddDirectory(const std::string& name) {
    EntryOptions o;
    o.deflate = false;
    o.externalAttributes = 0x10;
    Add(name, std::string(), o);
}

std::string ZipWriter::Finish() {
    m_centralOffset = m_out.size();
    for (auto& e : m_entries) e.centralOffset += m_centralOffset;
    std::string out = m_out + m_central;
    m_endOffset = out.size();
    Put32(out, 0x06054b50);
    Put16(out, 0);
    Put16(out, 0);
    Put16(out, uint32_t(m_entries.size()));
    Put16(out, uint32_t(m_entries.size()));
    Put32(out, uint32_t(m_central.size()));
    Put32(out, uint32_t(m_centralOffset - m_prefixSize));
    Put16(out, uint32_t(m_comment.size()));
    out += m_comment;
    return out;
}

bool ZipWriter::WriteFile(const std::string& path, const std::string& bytes) {
    FILE* f = std::fopen(path.c_str(), "wb");
    if (!f) return false;
    const bool ok = std::fwrite(bytes.data(), 1, bytes.size(), f) == bytes.size();
    return std::fclose(f) == 0 && ok;
}

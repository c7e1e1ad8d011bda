#include "ZipMemoryStorage.h"

#include <algorithm>
#include <cstring>

size_t ZipMemoryStorage::ReadAt(uint64_t offset, void* buffer, size_t length) {
    if (offset >= m_bytes.size()) return 0;
    const size_t n = static_cast<size_t>(std::min<uint64_t>(length, m_bytes.size() - offset));
    std::memcpy(buffer, m_bytes.data() + offset, n);
    return n;
}

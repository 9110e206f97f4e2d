#include "CommandCycle.h"

#include <cstring>

#include "Frame.h"

namespace halvin {

namespace {

constexpr size_t kClockChars = 13;  // six digit pairs and one hex digit

bool InRange(int64_t v, const FieldLayout& f) { return v >= f.lo && v <= f.hi; }

// Appends request bytes while keeping within the buffer.
class Writer {
 public:
  Writer(uint8_t* out, size_t cap) : out_(out), cap_(cap) {}
  bool Put(uint32_t value, size_t width) {
    if (!Room(width)) return false;
    frame::PutBE(out_ + len_, value, width);
    len_ += width;
    return true;
  }
  bool PutBytes(const void* bytes, size_t n) {
    if (!Room(n)) return false;
    if (n) std::memcpy(out_ + len_, bytes, n);
    len_ += n;
    return true;
  }
  uint8_t* Reserve(size_t n) {
    if (!Room(n)) return nullptr;
    uint8_t* p = out_ + len_;
    len_ += n;
    return p;
  }
  size_t Length() const { return len_; }

 private:
  bool Room(size_t n) const { return n <= cap_ - len_; }
  uint8_t* out_;
  size_t cap_;
  size_t len_ = 0;
};

// Puts one field; false when its arguments are refused.
bool PutField(const FieldLayout& f, const Arg* args, size_t count, size_t* next, Writer& w) {
  auto take = [&](Arg* a) {
    if (*next >= count) return false;
    *a = args[(*next)++];
    return true;
  };
  Arg a(0);
  switch (f.kind) {
    case Field::kNone:
      return true;
    case Field::kNumber:
      for (uint8_t i = 0; i < f.repeat; ++i) {
        if (!take(&a) || !InRange(a.value, f)) return false;
        if (!w.Put(static_cast<uint32_t>(a.value), f.width)) return false;
      }
      return true;
    case Field::kFlag:
      return take(&a) && w.Put(a.value != 0 ? 1 : 0, 1);
    case Field::kBytes:
      return take(&a) && a.ptr && w.PutBytes(a.ptr, f.width);
    case Field::kText: {
      // Characters up to the text's end, zero bytes after it: never read past the NUL.
      if (!take(&a) || !a.ptr) return false;
      uint8_t* p = w.Reserve(f.width);
      if (!p) return false;
      const char* text = static_cast<const char*>(a.ptr);
      size_t i = 0;
      for (; i < f.width && text[i] != '\0'; ++i) p[i] = static_cast<uint8_t>(text[i]);
      for (; i < f.width; ++i) p[i] = 0;
      return true;
    }
    case Field::kDigits: {
      if (!take(&a) || !frame::HasChars(static_cast<const char*>(a.ptr), 2u * f.width))
        return false;
      const char* text = static_cast<const char*>(a.ptr);
      for (size_t i = 0; i < f.width; ++i)
        if (!w.Put(frame::DigitPairToByte(text[2 * i], text[2 * i + 1]), 1)) return false;
      return true;
    }
    case Field::kHexKey: {
      if (!take(&a) || !frame::HasChars(static_cast<const char*>(a.ptr), 2u * f.width))
        return false;
      uint8_t* p = w.Reserve(f.width);
      if (!p) return false;
      frame::HexTextToBytes(static_cast<const char*>(a.ptr), p, f.width);
      return true;
    }
    case Field::kClock: {
      if (!take(&a) || !frame::HasChars(static_cast<const char*>(a.ptr), kClockChars))
        return false;
      const char* text = static_cast<const char*>(a.ptr);
      for (size_t i = 0; i < 6; ++i)
        if (!w.Put(frame::DigitPairToByte(text[2 * i], text[2 * i + 1]), 1)) return false;
      return w.Put(frame::HexCharToNibble(text[12]), 1);
    }
    case Field::kTable: {
      if (!take(&a) || !a.ptr) return false;
      const int32_t* table = static_cast<const int32_t*>(a.ptr);
      for (size_t i = 0; i < kTableEntries; ++i)
        if (!InRange(table[i], f)) return false;
      for (size_t i = 0; i < kTableEntries; ++i)
        if (!w.Put(static_cast<uint32_t>(table[i]), f.width)) return false;
      return true;
    }
    case Field::kFlagTable: {
      if (!take(&a) || !a.ptr) return false;
      const int32_t* table = static_cast<const int32_t*>(a.ptr);
      for (size_t i = 0; i < kTableEntries; ++i)
        if (!w.Put(table[i] != 0 ? 1 : 0, 1)) return false;
      return true;
    }
    case Field::kGrid: {
      if (!take(&a) || !a.ptr) return false;
      const int32_t* grid = static_cast<const int32_t*>(a.ptr);  // column c at 15 * c
      for (size_t c = 0; c < kGridColumns; ++c) {
        const GridColumn& col = f.grid[c];
        for (size_t i = 0; i < kTableEntries; ++i) {
          const int32_t v = grid[col.column * kTableEntries + i];
          if (v < 0 || static_cast<uint32_t>(v) > col.hi) return false;
        }
      }
      for (size_t i = 0; i < kTableEntries; ++i)
        for (size_t c = 0; c < kGridColumns; ++c) {
          const GridColumn& col = f.grid[c];
          if (!w.Put(static_cast<uint32_t>(grid[col.column * kTableEntries + i]), col.width))
            return false;
        }
      return true;
    }
    case Field::kMenu: {
      Arg record(nullptr);
      if (!take(&a) || !InRange(a.value, f) || !take(&record) || !record.ptr) return false;
      const MenuMoneyRecord* m = static_cast<const MenuMoneyRecord*>(record.ptr);
      // The entries in use must fit their fields; all nine go out whatever the count.
      for (int32_t i = 0; i < a.value; ++i)
        if (m->firstByte[i] < 0 || m->firstByte[i] > 0xFF || m->secondByte[i] < 0 ||
            m->secondByte[i] > 0xFF || m->price[i] < 0 || m->price[i] > 0xFFFFFF)
          return false;
      if (!w.Put(static_cast<uint32_t>(a.value), 1)) return false;
      for (size_t i = 0; i < kMenuEntries; ++i) {
        if (!w.Put(static_cast<uint32_t>(m->firstByte[i]), 1) ||
            !w.Put(static_cast<uint32_t>(m->secondByte[i]), 1) ||
            !w.PutBytes(m->shortText[i], sizeof m->shortText[i]) ||
            !w.PutBytes(m->longText[i], sizeof m->longText[i]) ||
            !w.Put(static_cast<uint32_t>(m->price[i]), 3))
          return false;
      }
      return true;
    }
    case Field::kBlock: {
      Arg bytes(nullptr);
      if (!take(&a) || !InRange(a.value, f) || !take(&bytes)) return false;
      if (a.value > 0 && !bytes.ptr) return false;
      return w.Put(static_cast<uint32_t>(a.value), f.width) &&
             w.PutBytes(bytes.ptr, static_cast<size_t>(a.value));
    }
  }
  return false;
}

// Length of the reply data the command expects (record downloads: 0, read apart).
size_t ReplyDataSize(const Command& cmd, const Arg* args) {
  switch (cmd.reply.kind) {
    case Reply::kAck:
    case Reply::kRecords:
      return 0;
    case Reply::kNumbers: {
      size_t n = 0;
      for (uint8_t i = 0; i < cmd.reply.count; ++i) n += cmd.reply.widths[i];
      return n;
    }
    case Reply::kDigits:
    case Reply::kText:
      return cmd.reply.size;
    case Reply::kFlash:
      return static_cast<size_t>(args[1].value);  // the length argument, 1-255
  }
  return 0;
}

size_t OutputCount(const Command& cmd) {
  switch (cmd.reply.kind) {
    case Reply::kAck: return 0;
    case Reply::kNumbers: return cmd.reply.count;
    case Reply::kDigits:
    case Reply::kText:
    case Reply::kFlash: return 1;
    case Reply::kRecords: return 2;
  }
  return 0;
}

// Reads a record download reply: a 7-byte head, then the announced rest.
// Its announced length must leave room for the count byte and fit the buffer.
bool ReadRecords(Link& link, uint8_t code, uint8_t* buf, size_t* frameLen) {
  if (!link.ReadExact(buf, frame::kDataOffset)) return false;
  if (buf[0] != frame::kStart || buf[1] != frame::kStart || buf[2] != frame::kAddress ||
      buf[5] != code || buf[6] != frame::kTerminalOk)
    return false;
  const size_t len = frame::PayloadLength(buf);
  if (len < 3 || len + frame::kOverhead > kMaxDownload) return false;
  if (!link.ReadExact(buf + frame::kDataOffset, len - 1)) return false;
  if (frame::CheckFrame(buf, static_cast<uint32_t>(len + frame::kOverhead)) != 1) return false;
  *frameLen = len + frame::kOverhead;
  return true;
}

// One attempt: write the request, read and accept the reply.
bool Attempt(Link& link, const Command& cmd, const uint8_t* request, size_t requestLen,
             size_t dataSize, uint8_t* reply, size_t* replyLen) {
  // Commands go without parity whatever a poll left set on the bus.
  if (link.SerialOpen() && !link.SetComParity('N')) return false;
  if (!link.Write(request, requestLen)) return false;
  if (cmd.reply.kind == Reply::kRecords) return ReadRecords(link, cmd.code, reply, replyLen);
  const size_t expected = frame::kAckSize + dataSize;
  if (!link.ReadExact(reply, expected)) return false;
  if (!frame::AcceptReply(reply, expected, cmd.code, frame::kTerminalOk)) return false;
  *replyLen = expected;
  return true;
}

void WriteOutputs(const Command& cmd, const uint8_t* reply, size_t replyLen, size_t dataSize,
                  const Arg* outs) {
  const uint8_t* data = reply + frame::kDataOffset;
  switch (cmd.reply.kind) {
    case Reply::kAck:
      break;
    case Reply::kNumbers:
      for (uint8_t i = 0; i < cmd.reply.count; ++i) {
        *static_cast<int32_t*>(const_cast<void*>(outs[i].ptr)) =
            static_cast<int32_t>(frame::GetBE(data, cmd.reply.widths[i]));
        data += cmd.reply.widths[i];
      }
      break;
    case Reply::kDigits: {
      char* text = static_cast<char*>(const_cast<void*>(outs[0].ptr));
      for (size_t i = 0; i < dataSize; ++i) frame::ByteToDigitPair(data[i], text + 2 * i);
      text[2 * dataSize] = '\0';
      break;
    }
    case Reply::kText:
    case Reply::kFlash: {
      uint8_t* out = static_cast<uint8_t*>(const_cast<void*>(outs[0].ptr));
      std::memcpy(out, data, dataSize);
      out[dataSize] = 0;
      break;
    }
    case Reply::kRecords: {
      // Byte 7 counts the records; the records follow up to the checksum.
      *static_cast<int32_t*>(const_cast<void*>(outs[0].ptr)) = data[0];
      uint8_t* out = static_cast<uint8_t*>(const_cast<void*>(outs[1].ptr));
      const size_t n = replyLen - frame::kOverhead - 3;
      std::memcpy(out, data + 1, n);
      out[n] = 0;
      break;
    }
  }
}

}  // namespace

size_t BuildRequest(const Command& cmd, int32_t device, const Arg* args, size_t count,
                    uint8_t* out, size_t cap, size_t* used) {
  if (device < 1 || device > 65535 || cap < frame::kOverhead) return 0;
  uint8_t payload[kMaxRequest];
  Writer w(payload, sizeof payload);
  w.Put(cmd.code, 1);
  w.Put(static_cast<uint32_t>(device), 2);
  size_t next = 0;
  for (const FieldLayout& f : cmd.fields)
    if (!PutField(f, args, count, &next, w)) return 0;
  if (used) *used = next;
  return frame::BuildFrame(out, cap, payload, w.Length());
}

int RunCommand(Link& link, Cmd id, int32_t openAndClose, int32_t device, const Arg* args,
               size_t count) {
  const Command& cmd = CommandFor(id);
  uint8_t request[kMaxRequest];
  size_t used = 0;
  const size_t requestLen = BuildRequest(cmd, device, args, count, request, sizeof request, &used);
  if (requestLen == 0) return 0;
  const size_t outputs = OutputCount(cmd);
  if (count < used + outputs) return 0;
  for (size_t i = 0; i < outputs; ++i)
    if (!args[used + i].ptr) return 0;
  if (cmd.zeroIsDone && args[0].value == 0) return 1;

  if (openAndClose && !link.Open()) return 0;
  const size_t dataSize = ReplyDataSize(cmd, args);
  const int attempts = cmd.attempts ? cmd.attempts : Link::kRetryCount;
  uint8_t reply[kMaxDownload];
  size_t replyLen = 0;
  bool accepted = false;
  for (int i = 0; i < attempts && !accepted; ++i)
    accepted = Attempt(link, cmd, request, requestLen, dataSize, reply, &replyLen);
  if (openAndClose) link.Close();
  if (!accepted) return 0;
  WriteOutputs(cmd, reply, replyLen, dataSize, args + used);
  return 1;
}

}  // namespace halvin

// The chunk loop in both of its forms (blocking, and overlapped transfers around the cipher):
// the same bytes, events, stops, errors and release on every way out. Each case runs once per
// form; where the blocking loop is the reference, the overlapped one is compared with it.
#include <windows.h>

#include <algorithm>
#include <stdexcept>

#include "CryptoTestUtil.h"
#include "SysUtils.h"

using namespace crypto;

namespace {

// The positions onSolution reports for a source of `size` bytes: one per 40000-byte chunk.
std::vector<uint64_t> ChunkEnds(uint64_t size, uint64_t header = 0) {
  std::vector<uint64_t> ends;
  for (uint64_t done = 0; done < size;) {
    done = std::min<uint64_t>(done + kChunkSize, size);
    ends.push_back(header + done);
  }
  return ends;
}

// Reads a file that the engine may still hold open for writing.
Bytes ReadShared(const std::wstring& path) {
  Bytes data;
  HANDLE h = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING, 0,
                         nullptr);
  if (h == INVALID_HANDLE_VALUE) return data;
  LARGE_INTEGER size{};
  GetFileSizeEx(h, &size);
  data.resize(static_cast<size_t>(size.QuadPart));
  DWORD n = 0;
  if (!data.empty()) ReadFile(h, data.data(), static_cast<DWORD>(data.size()), &n, nullptr);
  data.resize(n);
  CloseHandle(h);
  return data;
}

Bytes Prefix(const Bytes& b, size_t n) { return Bytes(b.begin(), b.begin() + std::min(n, b.size())); }

// Whether a file or device can be opened with this access (nothing is created or changed).
bool CanOpen(const std::wstring& path, DWORD access) {
  HANDLE h = CreateFileW(path.c_str(), access, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING, 0, nullptr);
  if (h == INVALID_HANDLE_VALUE) return false;
  CloseHandle(h);
  return true;
}

// Whether a byte range locked through one handle refuses reading through another. Windows does;
// Wine keeps the locks but lets transfers through them.
bool LocksRefuseTransfers(const std::wstring& dir) {
  const std::wstring path = dir + L"\\lock-probe";
  WriteBytes(path, Bytes(16, 1));
  HANDLE owner = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                             0, nullptr);
  HANDLE other = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                             0, nullptr);
  OVERLAPPED range{};
  const bool locked = LockFileEx(owner, LOCKFILE_EXCLUSIVE_LOCK | LOCKFILE_FAIL_IMMEDIATELY, 0, 16, 0, &range);
  char b[16];
  DWORD n = 0;
  const bool refused = locked && !ReadFile(other, b, 16, &n, nullptr);
  CloseHandle(other);
  CloseHandle(owner);
  DeleteFileW(path.c_str());
  return refused;
}

// A handler that checks, at every event, that the destination holds exactly the ciphertext of
// the chunks done so far: all of it, and nothing past it.
struct TDestinationCheck {
  std::wstring Path;
  Bytes Expected;  // the whole ciphertext
  uint64_t Header = 0;
  std::vector<uint64_t> Positions;
  void Solution(fw::TObject*, uint64_t position, bool&) {
    Positions.push_back(position);
    const Bytes now = ReadShared(Path);
    EXPECT_EQ(now.size(), position - Header) << "at " << position;
    EXPECT_TRUE(now == Prefix(Expected, static_cast<size_t>(position - Header))) << "at " << position;
  }
};

// A handler that throws out of the event at event number `At`.
struct TThrowingHandler {
  size_t At = 0, Seen = 0;
  void Solution(fw::TObject*, uint64_t, bool&) {
    if (++Seen == At) throw std::runtime_error("handler failed");
  }
};

// A handler that, at the first event, locks the destination's third chunk through a handle of
// its own.
struct TLockAtFirstEvent {
  std::wstring Path;
  HANDLE Locker = INVALID_HANDLE_VALUE;
  std::vector<uint64_t> Positions;
  void Solution(fw::TObject*, uint64_t position, bool&) {
    Positions.push_back(position);
    if (Locker != INVALID_HANDLE_VALUE) return;
    Locker = CreateFileW(Path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING, 0,
                         nullptr);
    OVERLAPPED range{};
    range.Offset = 2 * kChunkSize;
    EXPECT_TRUE(LockFileEx(Locker, LOCKFILE_EXCLUSIVE_LOCK | LOCKFILE_FAIL_IMMEDIATELY, 0, kChunkSize, 0, &range));
  }
};

class ChunkLoopTest : public EngineTest, public testing::WithParamInterface<bool> {
protected:
  bool Overlapped() const { return GetParam(); }
  // Prepare, then the loop under test.
  void Use(TCryptoApi& e, const std::wstring& src, const std::wstring& dst, const std::string& password,
           TCipherMode mode) {
    Prepare(e, src, dst, password, mode);
    e.SetOverlappedIo(Overlapped());
  }
  // A run into a destination that cannot be opened for writing: the system's reason is raised
  // naming the destination, and the source is released; no event, no box.
  void ExpectRefused(const std::wstring& dst, unsigned long code) {
    WriteBytes(Dir.Path(L"p"), Pattern(1000, 91));
    TCryptoApi e(nullptr);
    Use(e, Dir.Path(L"p"), dst, "470913", cmStream);
    try {
      e.EncryptFile();
      ADD_FAILURE() << "no exception";
    } catch (const fw::EInOutError& x) {
      EXPECT_EQ(x.ErrorCode, code) << x.what();
      EXPECT_NE(x.Message().find(dst), std::wstring::npos) << x.what();
    }
    EXPECT_TRUE(NotHeldOpen(Dir.Path(L"p")));
    EXPECT_TRUE(Recorder.Positions.empty());
    EXPECT_TRUE(Boxes.empty());
  }
  // One run of the blocking loop with a fresh engine, stopping at event `stopAt` (0: never):
  // the reference for the destination and the events.
  std::pair<Bytes, std::vector<uint64_t>> BlockingRun(const std::wstring& src, const std::wstring& dst,
                                                      size_t stopAt, bool encrypt = true) {
    TCryptoApi ref(nullptr);
    SolutionRecorder rec;
    rec.StopAt = stopAt;
    ref.SetSource(src);
    ref.SetDestination(dst);
    ref.SetPassword("470913");
    ref.onSolution = rec.Event();
    ref.SetOverlappedIo(false);
    EXPECT_TRUE(encrypt ? ref.EncryptFile() : ref.DecryptFile());
    return {ReadBytes(dst), rec.Positions};
  }
};

}  // namespace

INSTANTIATE_TEST_SUITE_P(BothLoops, ChunkLoopTest, testing::Bool(),
                         [](const testing::TestParamInfo<bool>& p) { return p.param ? "Overlapped" : "Blocking"; });

TEST_P(ChunkLoopTest, StreamOutputIsTheReferenceRc4AtEverySizeWithOneEventPerChunk) {
  const size_t sizes[] = {0, 1, 39999, 40000, 40001, 120000, 3 * 1000 * 1000 + 17};
  const std::wstring src = Dir.Path(L"plain"), enc = Dir.Path(L"plain.sbx"), dec = Dir.Path(L"plain.out");
  TCryptoApi e(nullptr);
  for (size_t size : sizes) {
    SCOPED_TRACE(testing::Message() << "size " << size);
    const Bytes plain = Pattern(size, static_cast<uint32_t>(size) + 11);
    WriteBytes(src, plain);
    Recorder.Positions.clear();
    Use(e, src, enc, "470913", cmStream);
    ASSERT_TRUE(e.EncryptFile());
    EXPECT_TRUE(ReadBytes(enc) == ReferenceRc4(plain));
    EXPECT_EQ(Recorder.Positions, ChunkEnds(size));
    EXPECT_EQ(e.SourceSize(), size);

    Recorder.Positions.clear();
    Use(e, enc, dec, "470913", cmStream);
    ASSERT_TRUE(e.DecryptFile());
    EXPECT_TRUE(ReadBytes(dec) == plain);
    EXPECT_EQ(Recorder.Positions, ChunkEnds(size));
    EXPECT_TRUE(NotHeldOpen(src) && NotHeldOpen(enc) && NotHeldOpen(dec));
  }
  // A device as the destination takes the stream too.
  Recorder.Positions.clear();
  WriteBytes(src, Pattern(100001, 4));
  Use(e, src, L"NUL", "470913", cmStream);
  EXPECT_TRUE(e.EncryptFile());
  EXPECT_EQ(Recorder.Positions, ChunkEnds(100001));
  EXPECT_TRUE(Boxes.empty());
}

TEST_P(ChunkLoopTest, BlockModeAndTheKeyBlobFormGiveFilesTheOtherLoopReadsBack) {
  TCryptoApi e(nullptr), other(nullptr);
  const std::wstring src = Dir.Path(L"p"), enc = Dir.Path(L"p.sbx"), dec = Dir.Path(L"p.out");

  // RC2 under the derived key: the same ciphertext as the blocking loop's.
  const Bytes blocks = Pattern(120024, 21);
  WriteBytes(src, blocks);
  Use(e, src, enc, "470913", cmBlock);
  ASSERT_TRUE(e.EncryptFile());
  EXPECT_EQ(Recorder.Positions, ChunkEnds(blocks.size()));
  SolutionRecorder rec;
  Prepare(other, src, Dir.Path(L"ref.sbx"), "470913", cmBlock);
  other.onSolution = rec.Event();
  other.SetOverlappedIo(!Overlapped());
  ASSERT_TRUE(other.EncryptFile());
  EXPECT_TRUE(ReadBytes(enc) == ReadBytes(Dir.Path(L"ref.sbx")));
  Prepare(other, enc, dec, "470913", cmBlock);
  other.onSolution = rec.Event();
  ASSERT_TRUE(other.DecryptFile());
  EXPECT_TRUE(ReadBytes(dec) == blocks);

  // Key-blob form: the header goes through the same file as the chunks; positions count it.
  EnsureUserKeys();
  Boxes.clear();
  const Bytes plain = Pattern(80001, 22);
  WriteBytes(src, plain);
  Use(e, src, enc, "", cmStream);
  ASSERT_TRUE(e.EncryptFile());
  const Bytes file = ReadBytes(enc);
  ASSERT_FALSE(file.empty());
  const size_t header = 1 + file[0];
  ASSERT_EQ(file.size(), header + plain.size());
  Prepare(other, enc, dec, "", cmStream);
  SolutionRecorder decrypting;
  other.onSolution = decrypting.Event();
  ASSERT_TRUE(other.DecryptFile());
  EXPECT_TRUE(ReadBytes(dec) == plain);
  EXPECT_EQ(decrypting.Positions, ChunkEnds(plain.size(), header));
  // ... and the loop under test reads what the other one wrote.
  Prepare(other, src, enc, "", cmStream);
  ASSERT_TRUE(other.EncryptFile());
  Recorder.Positions.clear();
  Use(e, enc, dec, "", cmStream);
  ASSERT_TRUE(e.DecryptFile());
  EXPECT_TRUE(ReadBytes(dec) == plain);
  EXPECT_EQ(Recorder.Positions, ChunkEnds(plain.size(), 1 + ReadBytes(enc)[0]));
  EXPECT_TRUE(Boxes.empty());
}

TEST_P(ChunkLoopTest, AtEveryEventTheDestinationHoldsExactlyTheChunksDone) {
  const Bytes plain = Pattern(200001, 31);
  WriteBytes(Dir.Path(L"p"), plain);
  TDestinationCheck check;
  check.Path = Dir.Path(L"p.sbx");
  check.Expected = ReferenceRc4(plain);
  TCryptoApi e(nullptr);
  Use(e, Dir.Path(L"p"), check.Path, "470913", cmStream);
  e.onSolution = TSolutionEvent::Of<&TDestinationCheck::Solution>(&check);
  ASSERT_TRUE(e.EncryptFile());
  EXPECT_EQ(check.Positions, ChunkEnds(plain.size()));

  // The same while decrypting a key-blob form file, whose destination starts after no header.
  EnsureUserKeys();
  Boxes.clear();
  Use(e, Dir.Path(L"p"), Dir.Path(L"k.sbx"), "", cmStream);
  e.onSolution = {};
  ASSERT_TRUE(e.EncryptFile());
  const size_t header = 1 + ReadBytes(Dir.Path(L"k.sbx"))[0];
  TDestinationCheck back;
  back.Path = Dir.Path(L"k.out");
  back.Expected = plain;
  back.Header = header;
  Use(e, Dir.Path(L"k.sbx"), back.Path, "", cmStream);
  e.onSolution = TSolutionEvent::Of<&TDestinationCheck::Solution>(&back);
  ASSERT_TRUE(e.DecryptFile());
  EXPECT_EQ(back.Positions, ChunkEnds(plain.size(), header));
  EXPECT_TRUE(Boxes.empty());
}

TEST_P(ChunkLoopTest, AStopOnTheFirstAMiddleOrTheLastEventEndsWhereTheBlockingLoopEnds) {
  const Bytes plain = Pattern(200001, 41);  // six chunks
  const Bytes cipher = ReferenceRc4(plain);
  WriteBytes(Dir.Path(L"p"), plain);
  WriteBytes(Dir.Path(L"c"), cipher);
  for (size_t stopAt : {size_t(1), size_t(3), size_t(6)}) {
    for (bool encrypt : {true, false}) {
      SCOPED_TRACE(testing::Message() << "stop at event " << stopAt << (encrypt ? " encrypting" : " decrypting"));
      const std::wstring src = Dir.Path(encrypt ? L"p" : L"c");
      const auto [refBytes, refPositions] = BlockingRun(src, Dir.Path(L"ref"), stopAt, encrypt);
      TCryptoApi e(nullptr);  // a fresh engine: its stop flag is clear
      Recorder = SolutionRecorder{};
      Recorder.StopAt = stopAt;
      Use(e, src, Dir.Path(L"out"), "470913", cmStream);
      ASSERT_TRUE(encrypt ? e.EncryptFile() : e.DecryptFile());
      const Bytes out = ReadBytes(Dir.Path(L"out"));
      EXPECT_EQ(Recorder.Positions, refPositions);
      EXPECT_EQ(out.size(), std::min<size_t>(stopAt * kChunkSize, plain.size()));
      EXPECT_TRUE(out == refBytes);
      EXPECT_TRUE(out == Prefix(encrypt ? cipher : plain, out.size()));
      EXPECT_TRUE(NotHeldOpen(src) && NotHeldOpen(Dir.Path(L"out")));

      // The flag outlives the run: the next one, whose handler leaves it alone, does one chunk.
      SolutionRecorder quiet;
      e.onSolution = quiet.Event();
      ASSERT_TRUE(e.EncryptFile());
      EXPECT_EQ(quiet.Positions, ChunkEnds(kChunkSize));
      EXPECT_EQ(FileSize(Dir.Path(L"out")), kChunkSize);
    }
  }
  EXPECT_TRUE(Boxes.empty());
}

TEST_P(ChunkLoopTest, ACipherFailureAheadIsReportedOnlyWhenTheRunReachesIt) {
  // RC2 takes whole blocks only: a 40004-byte source has a good first chunk and a bad second.
  const Bytes plain = Pattern(40004, 51);
  WriteBytes(Dir.Path(L"p"), plain);
  {
    TCryptoApi e(nullptr);
    Use(e, Dir.Path(L"p"), Dir.Path(L"p.sbx"), "470913", cmBlock);
    EXPECT_FALSE(e.EncryptFile());
    EXPECT_EQ(Recorder.Positions, (std::vector<uint64_t>{40000}));
    ASSERT_EQ(Boxes.size(), 1u);
    EXPECT_EQ(Boxes[0].Text, L"Error during CryptEncrypt");
    EXPECT_EQ(FileSize(Dir.Path(L"p.sbx")), 40000u);  // the first chunk stays written
    EXPECT_TRUE(NotHeldOpen(Dir.Path(L"p")) && NotHeldOpen(Dir.Path(L"p.sbx")));
  }
  // A stop on the first event: the bad chunk is never reached, so there is no failure.
  Boxes.clear();
  Recorder = SolutionRecorder{};
  Recorder.StopAt = 1;
  TCryptoApi e(nullptr);
  Use(e, Dir.Path(L"p"), Dir.Path(L"p.sbx"), "470913", cmBlock);
  EXPECT_TRUE(e.EncryptFile());
  EXPECT_TRUE(Boxes.empty());
  EXPECT_EQ(FileSize(Dir.Path(L"p.sbx")), 40000u);

  // A source of 12 bytes fails on its only chunk: nothing written, no event.
  WriteBytes(Dir.Path(L"twelve"), Pattern(12));
  Recorder = SolutionRecorder{};
  TCryptoApi f(nullptr);
  Use(f, Dir.Path(L"twelve"), Dir.Path(L"twelve.sbx"), "470913", cmBlock);
  EXPECT_FALSE(f.EncryptFile());
  ASSERT_EQ(Boxes.size(), 1u);
  EXPECT_EQ(Boxes[0].Text, L"Error during CryptEncrypt");
  EXPECT_EQ(FileSize(Dir.Path(L"twelve.sbx")), 0u);
  EXPECT_TRUE(Recorder.Positions.empty());
  EXPECT_TRUE(NotHeldOpen(Dir.Path(L"twelve")) && NotHeldOpen(Dir.Path(L"twelve.sbx")));
}

TEST_P(ChunkLoopTest, AHandlerThatThrowsLeavesTheChunksBeforeItAndReleasesEverything) {
  const Bytes plain = Pattern(200001, 61);
  WriteBytes(Dir.Path(L"p"), plain);
  TThrowingHandler thrower{2};
  TCryptoApi e(nullptr);
  Use(e, Dir.Path(L"p"), Dir.Path(L"p.sbx"), "470913", cmStream);
  e.onSolution = TSolutionEvent::Of<&TThrowingHandler::Solution>(&thrower);
  EXPECT_THROW(e.EncryptFile(), std::runtime_error);
  EXPECT_TRUE(ReadBytes(Dir.Path(L"p.sbx")) == Prefix(ReferenceRc4(plain), 2 * kChunkSize));
  EXPECT_TRUE(NotHeldOpen(Dir.Path(L"p")) && NotHeldOpen(Dir.Path(L"p.sbx")));
  // The engine starts clean the next time.
  e.onSolution = Recorder.Event();
  ASSERT_TRUE(e.EncryptFile());
  EXPECT_TRUE(ReadBytes(Dir.Path(L"p.sbx")) == ReferenceRc4(plain));
  EXPECT_TRUE(Boxes.empty());
}

TEST_P(ChunkLoopTest, AReadErrorIsRaisedWithNothingWrittenAndEverythingReleased) {
  // Under Wine, the process's own memory file refuses a read at offset 0 (an I/O error).
  const std::wstring unreadable = L"Z:\\proc\\self\\mem";
  if (!CanOpen(unreadable, GENERIC_READ)) GTEST_SKIP() << "needs a file whose reads fail (Wine's Z:\\proc\\self\\mem)";
  const std::wstring dst = Dir.Path(L"mem.sbx");
  TCryptoApi e(nullptr);
  Use(e, unreadable, dst, "470913", cmStream);
  try {
    e.EncryptFile();
    ADD_FAILURE() << "no exception";
  } catch (const fw::EInOutError& x) {
    EXPECT_NE(x.Message().find(L"读取文件失败"), std::wstring::npos) << x.what();
    EXPECT_NE(x.ErrorCode, 0u);
  }
  EXPECT_EQ(FileSize(dst), 0u);
  EXPECT_TRUE(NotHeldOpen(dst));
  EXPECT_TRUE(Recorder.Positions.empty());
  EXPECT_TRUE(Boxes.empty());
  WriteBytes(Dir.Path(L"p"), Pattern(50000, 71));
  Use(e, Dir.Path(L"p"), dst, "470913", cmStream);
  EXPECT_TRUE(e.EncryptFile());
}

TEST_P(ChunkLoopTest, AFullDestinationRaisesAWriteErrorAndReleasesEverything) {
  // Under Wine, the Unix full device takes no byte: every write fails with "disk full".
  const std::wstring full = L"Z:\\dev\\full";
  if (!CanOpen(full, GENERIC_WRITE)) GTEST_SKIP() << "needs a destination that is always full (Wine's Z:\\dev\\full)";
  WriteBytes(Dir.Path(L"p"), Pattern(100000, 81));
  EnsureUserKeys();
  Boxes.clear();
  TCryptoApi e(nullptr);
  for (const std::string password : {"470913", ""}) {  // the chunks, or the key-blob header first
    SCOPED_TRACE(password.empty() ? "key-blob form" : "derived-key form");
    Use(e, Dir.Path(L"p"), full, password, cmStream);
    try {
      e.EncryptFile();
      ADD_FAILURE() << "no exception";
    } catch (const fw::EInOutError& x) {
      EXPECT_EQ(x.ErrorCode, static_cast<unsigned long>(ERROR_DISK_FULL)) << x.what();
      EXPECT_NE(x.Message().find(L"写入文件失败"), std::wstring::npos) << x.what();
    }
    EXPECT_TRUE(Recorder.Positions.empty());  // the chunk was never written, so no event
    EXPECT_TRUE(NotHeldOpen(Dir.Path(L"p")));
  }
  EXPECT_TRUE(Boxes.empty());
}

TEST_P(ChunkLoopTest, ADestinationHeldByAnotherIsRefusedAndTheSourceReleased) {
  const std::wstring dst = Dir.Path(L"busy.sbx");
  WriteBytes(dst, Pattern(10, 92));
  // Held open by someone who shares it with nobody.
  HANDLE holder = CreateFileW(dst.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
  ASSERT_NE(holder, INVALID_HANDLE_VALUE);
  ExpectRefused(dst, ERROR_SHARING_VIOLATION);
  CloseHandle(holder);
  EXPECT_TRUE(ReadBytes(dst) == Pattern(10, 92));
}

TEST_P(ChunkLoopTest, AReadOnlyDestinationIsRefusedAndKeptAndTheSourceReleased) {
  const std::wstring dst = Dir.Path(L"readonly.sbx");
  WriteBytes(dst, Pattern(10, 94));
  SetFileAttributesW(dst.c_str(), FILE_ATTRIBUTE_READONLY);
  HANDLE probe = CreateFileW(dst.c_str(), GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr);
  if (probe != INVALID_HANDLE_VALUE) {
    CloseHandle(probe);
    SetFileAttributesW(dst.c_str(), FILE_ATTRIBUTE_NORMAL);
    GTEST_SKIP() << "this system lets a writer into a read-only file (Wine run by root)";
  }
  ExpectRefused(dst, ERROR_ACCESS_DENIED);
  SetFileAttributesW(dst.c_str(), FILE_ATTRIBUTE_NORMAL);
  EXPECT_TRUE(ReadBytes(dst) == Pattern(10, 94));
}

// A read and a write that fail in the middle of the file: a byte range locked by another
// handle refuses the engine's transfer, where the system enforces such locks (Windows).
TEST_P(ChunkLoopTest, TransfersRefusedInTheMiddleComeAfterTheChunksBeforeThem) {
  if (!LocksRefuseTransfers(Dir.Path())) GTEST_SKIP() << "this system does not refuse transfers in locked ranges";
  const Bytes plain = Pattern(200001, 101);
  const Bytes cipher = ReferenceRc4(plain);
  const std::wstring src = Dir.Path(L"p"), dst = Dir.Path(L"p.sbx");
  WriteBytes(src, plain);
  HANDLE locker = CreateFileW(src.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                              OPEN_EXISTING, 0, nullptr);
  ASSERT_NE(locker, INVALID_HANDLE_VALUE);
  OVERLAPPED third{};
  third.Offset = 2 * kChunkSize;
  ASSERT_TRUE(LockFileEx(locker, LOCKFILE_EXCLUSIVE_LOCK | LOCKFILE_FAIL_IMMEDIATELY, 0, kChunkSize, 0, &third));
  for (size_t stopAt : {size_t(0), size_t(2)}) {
    SCOPED_TRACE(testing::Message() << "read, stop at event " << stopAt);
    TCryptoApi e(nullptr);
    Recorder = SolutionRecorder{};
    Recorder.StopAt = stopAt;
    Use(e, src, dst, "470913", cmStream);
    if (stopAt == 0) {
      EXPECT_THROW(e.EncryptFile(), fw::EInOutError);
    } else {
      EXPECT_TRUE(e.EncryptFile());  // the refused chunk is never reached
    }
    EXPECT_EQ(Recorder.Positions, (std::vector<uint64_t>{40000, 80000}));
    EXPECT_TRUE(ReadBytes(dst) == Prefix(cipher, 2 * kChunkSize));
    EXPECT_TRUE(NotHeldOpen(dst));
  }
  CloseHandle(locker);

  // The write of the third chunk: the range is locked once the destination exists (first event).
  TLockAtFirstEvent lockWrites;
  lockWrites.Path = dst;
  TCryptoApi e(nullptr);
  Use(e, src, dst, "470913", cmStream);
  e.onSolution = TSolutionEvent::Of<&TLockAtFirstEvent::Solution>(&lockWrites);
  EXPECT_THROW(e.EncryptFile(), fw::EInOutError);
  EXPECT_EQ(lockWrites.Positions, (std::vector<uint64_t>{40000, 80000}));
  CloseHandle(lockWrites.Locker);
  EXPECT_TRUE(ReadBytes(dst) == Prefix(cipher, 2 * kChunkSize));
  EXPECT_TRUE(NotHeldOpen(src) && NotHeldOpen(dst));
  EXPECT_TRUE(Boxes.empty());
}

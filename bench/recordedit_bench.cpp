// An information edit of a record reads, changes and writes its block under the record's lock
// (RecordInfoFile::Update), through the locked file itself. The lock must not make an edit
// noticeably slower: each iteration edits one record both ways, the plain read and write by
// path beside the locked one, and the ratio of their times is reported (1.0 = no cost).

#include "audio/audiomanager.h"
#include "audio/baseencoder.h"
#include "audio/tagger.h"
#include "benchsupport.h"
#include "platform/wavebackend.h"
#include "store/recordinfo.h"
#include "store/recordinfoedit.h"
#include "store/recordinfofile.h"

#include <benchmark/benchmark.h>
#include <chrono>

using namespace Bench;

namespace {

constexpr std::size_t kSecond = 8000;

std::string MinuteRecord(CAudioManager& manager)
{
    const std::string path = (ScratchDir() / "minute.wav").string();
    manager.ApplyFormat(0);
    const auto encoder = manager.CreateEncoder(manager.CodecIndex());
    encoder->SetInfo("*ParlantographerInfo*\n[[Tags]]\n[[Tasks]]\n[[Contacts]]\n");
    encoder->Open(path, false);
    const Bytes second(kSecond, 0x80);
    for (std::size_t s = 0; s < 60; ++s)
        encoder->Write(second, s + 1 == 60);
    encoder->Close();
    return path;
}

// The edit both ways make: the contact toggled, so the block stays the same size.
std::optional<QByteArray> Toggled(const std::string& area)
{
    QString block = RecordInfo::DecodeRecordInfo(area);
    if (RecordInfoEdit::RemoveContact(QStringLiteral("Ann Lee"), block) !=
        RecordInfoEdit::EResult::Done)
        RecordInfoEdit::AddContact(QStringLiteral("Ann Lee"), block);
    return RecordInfo::EncodeRecordInfo(block);
}

template <typename Edit> double SecondsOf(Edit edit)
{
    const auto start = std::chrono::steady_clock::now();
    edit();
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

void BM_EditLockedBesideUnlocked(benchmark::State& state)
{
    CAudioManager manager;
    const std::string path = MinuteRecord(manager);
    CTagger& tagger = manager.GetTagger();
    double unlocked = 0, locked = 0;
    for (auto _ : state) {
        unlocked += SecondsOf([&] {
            const std::optional<QByteArray> area = Toggled(tagger.ReadRecordInfo(path));
            tagger.WriteRecordInfo(path, area->constData(), static_cast<std::size_t>(area->size()));
        });
        locked += SecondsOf([&] {
            if (RecordInfoFile::Update(manager, path, Toggled).status !=
                RecordInfoFile::EStatus::Written)
                state.SkipWithError("the locked edit was not written");
        });
    }
    const double n = static_cast<double>(state.iterations());
    state.counters["unlocked_us"] = unlocked / n * 1e6;
    state.counters["locked_us"] = locked / n * 1e6;
    state.counters["locked_over_unlocked"] = locked / unlocked;
}

} // namespace

BENCHMARK(BM_EditLockedBesideUnlocked)->Unit(benchmark::kMicrosecond);

BENCHMARK_MAIN();

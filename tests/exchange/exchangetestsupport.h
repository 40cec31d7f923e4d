#pragma once

#include "audio/audiomanager.h"
#include "audio/baseencoder.h"
#include "platform/wavebackend.h"
#include "support/qtsupport.h"

#include <QDir>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <vector>

// A temporary folder and the engine, with records made by the engine's own encoders.
class CExchangeTest : public testing::Test
{
protected:
    void SetUp() override { ASSERT_TRUE(m_dir.isValid()); }

    QString Path(const QString& relative) const { return m_dir.path() + u'/' + relative; }

    // A record of `samples` (repeated to `count`) written by the encoder of `format` (0..5)
    // with `info` in its information area.
    QString MakeRecord(const QString& relative, int format, const QByteArray& info,
                       std::size_t count = 3 * 8000)
    {
        const QString path = Path(relative);
        QDir().mkpath(QFileInfo(path).path());
        const auto encoder = m_audio.CreateEncoderOfFormat(format);
        encoder->SetInfo(info.toStdString());
        encoder->Open(path.toStdString(), false);
        std::vector<std::uint8_t> samples(count);
        for (std::size_t i = 0; i < count; ++i)
            samples[i] = static_cast<std::uint8_t>(128 + 60 * ((i / 20) % 2 ? 1 : -1));
        for (std::size_t at = 0; at < count; at += 8000) {
            const std::size_t n = std::min<std::size_t>(8000, count - at);
            EXPECT_TRUE(encoder->Write(std::span(samples.data() + at, n), at + n == count));
        }
        encoder->Close();
        return path;
    }

    // The names in a folder, hidden ones included.
    QStringList Listing(const QString& relative) const
    {
        return QDir(Path(relative))
            .entryList(QDir::Files | QDir::Dirs | QDir::Hidden | QDir::NoDotAndDotDot, QDir::Name);
    }

    QTemporaryDir m_dir;
    CAudioManager m_audio;
};

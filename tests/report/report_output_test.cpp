#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <gtest/gtest.h>

#include "report/command_line_print.h"
#include "report/pdf_words.h"
#include "report/report_document.h"
#include "report/report_output.h"
#include "report/report_title.h"
#include "support/file_size_limit.h"

namespace {

bool IsReportPdf(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly) || !file.read(5).startsWith("%PDF-")) return false;
    const std::vector<PdfTextLine> lines = ReadPdfPage(path).lines();
    return !lines.empty() && lines.front().textBetween(0) == kTitle;
}

class ReportOutputTest : public testing::Test {
protected:
    std::vector<std::string> MessageTexts() const
    {
        std::vector<std::string> texts;
        for (const auto& message : files.user.messages) texts.push_back(message.text);
        return texts;
    }

    ReportDocument files;
};

}  // namespace

TEST_F(ReportOutputTest, APrinterNameEndingInPdfIsAFile)
{
    for (const char* name : {"to-file.pdf", "UPPER.PDF"}) {
        const QString path = files.path(QString::fromLatin1(name));
        EXPECT_TRUE(report::PrintReportTo(files.doc, path)) << name;
        EXPECT_TRUE(IsReportPdf(path)) << name;
    }
    EXPECT_TRUE(files.user.messages.empty());
}

TEST_F(ReportOutputTest, AnUnknownPrinterIsReportedAndNothingIsPrinted)
{
    EXPECT_FALSE(report::PrintReportTo(files.doc, QStringLiteral("No Such Printer 4410")));
    EXPECT_EQ(MessageTexts(),
              std::vector<std::string>{"No printer named \"No Such Printer 4410\" is available."});
    EXPECT_EQ(files.user.messages.front().icon, hart::MessageIcon::Exclamation);
}

TEST_F(ReportOutputTest, AnUnwritablePdfIsReportedWithItsReason)
{
    const QString missingFolder = files.path(QStringLiteral("missing/report.pdf"));
    const QString aFolder = files.path(QStringLiteral("folder.pdf"));
    ASSERT_TRUE(QDir().mkpath(aFolder));
    for (const QString& path : {missingFolder, aFolder}) {
        files.user.messages.clear();
        EXPECT_FALSE(report::WriteReportPdf(files.doc, path));
        ASSERT_EQ(files.user.messages.size(), 1u);
        const std::string& text = files.user.messages[0].text;
        const std::string start = "Failed to write the report to \"" + path.toStdString() + "\": ";
        EXPECT_EQ(text.rfind(start, 0), 0u) << text;
        EXPECT_GT(text.size(), start.size()) << "the reason is missing";
    }
    EXPECT_FALSE(QFile::exists(missingFolder));
    EXPECT_TRUE(QFileInfo(aFolder).isDir());
}

TEST_F(ReportOutputTest, CommandLinePrintOpensTheFileThenPrints)
{
    const QString file = files.WriteConfigurationFile(QStringLiteral("config.4410"));
    const QString pdf = files.path(QStringLiteral("printed.pdf"));
    EXPECT_EQ(report::PrintFromCommandLine(files.doc, file, pdf), 0);
    EXPECT_TRUE(IsReportPdf(pdf));
    EXPECT_TRUE(files.user.messages.empty());
    EXPECT_EQ(files.doc.GetPathName(), file);
}

TEST_F(ReportOutputTest, CommandLinePrintOfAFileThatCannotBeOpenedEndsWithItsMessage)
{
    QFile bad(files.path(QStringLiteral("bad.4410")));
    ASSERT_TRUE(bad.open(QIODevice::WriteOnly));
    bad.write("not a configuration");
    bad.close();

    struct Case {
        QString file;
        const char* message;
    };
    for (const Case& c :
         {Case{bad.fileName(), "Unexpected file format."},
          Case{files.path(QStringLiteral("absent.4410")), "Failed to open document."}}) {
        files.user.messages.clear();
        const QString pdf = files.path(QStringLiteral("never.pdf"));
        EXPECT_EQ(report::PrintFromCommandLine(files.doc, c.file, pdf), 1);
        EXPECT_EQ(MessageTexts(), std::vector<std::string>{c.message});
        EXPECT_FALSE(QFile::exists(pdf));
    }
}

// "/pt FILE OUT.pdf ..." onto a full disk: the report's failure message, exit status 1, an
// existing PDF byte for byte, a new one not created, nothing left beside them.
TEST_F(ReportOutputTest, CommandLinePdfOntoAFullDiskFailsAndKeepsTheOldFile)
{
    const QString file = files.WriteConfigurationFile(QStringLiteral("config.4410"));
    const QString existing = files.path(QStringLiteral("existing.pdf"));
    ASSERT_EQ(report::PrintFromCommandLine(files.doc, file, existing), 0);
    QFile old(existing);
    ASSERT_TRUE(old.open(QIODevice::ReadOnly));
    const QByteArray oldBytes = old.readAll();
    old.close();
    const QStringList entries =
        QDir(files.path({})).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot);

    const qint64 limits[] = {0, 1000, oldBytes.size() - 1};
    for (const qint64 limit : limits) {
        for (const QString& pdf : {existing, files.path(QStringLiteral("new.pdf"))}) {
            SCOPED_TRACE(std::to_string(limit) + " bytes, " + pdf.toStdString());
            files.user.messages.clear();
            int status = 0;
            {
                const FileSizeLimit full(static_cast<rlim_t>(limit));
                ASSERT_TRUE(full.set());
                status = report::PrintFromCommandLine(files.doc, file, pdf);
            }
            EXPECT_EQ(status, 1);
            ASSERT_EQ(files.user.messages.size(), 1u);
            EXPECT_EQ(files.user.messages[0].text.rfind(
                          "Failed to write the report to \"" + pdf.toStdString() + "\": ", 0),
                      0u)
                << files.user.messages[0].text;
            ASSERT_TRUE(old.open(QIODevice::ReadOnly));
            EXPECT_EQ(old.readAll(), oldBytes);
            old.close();
            EXPECT_EQ(QDir(files.path({}))
                          .entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot),
                      entries);
        }
    }
}

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include "command_line_print.h"
#include "pdf_words.h"
#include "report_document.h"
#include "report_output.h"

namespace {

const QString kTitle = QString::fromUtf8("Конфигурация Тарвел-4410");

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
    EXPECT_EQ(MessageTexts(), std::vector<std::string>{"No printer named \"No Such Printer 4410\" is available."});
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
    for (const Case& c : {Case{bad.fileName(), "Unexpected file format."},
                          Case{files.path(QStringLiteral("absent.4410")), "Failed to open document."}}) {
        files.user.messages.clear();
        const QString pdf = files.path(QStringLiteral("never.pdf"));
        EXPECT_EQ(report::PrintFromCommandLine(files.doc, c.file, pdf), 1);
        EXPECT_EQ(MessageTexts(), std::vector<std::string>{c.message});
        EXPECT_FALSE(QFile::exists(pdf));
    }
}

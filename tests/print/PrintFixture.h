#pragma once
// A page view test: isolated user data folder (where "Page.prndt" lives), a
// scripted prompter, and an engine in a main window of its own holding a
// document of a given number of pages.

#include "ScriptedPrompter.h"
#include "TestEnv.h"
#include "TxEngine.h"
#include "Usr.h"

#include <QDir>
#include <QImage>
#include <QString>
#include <QWidget>
#include <gtest/gtest.h>

#include <memory>

class PrintTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;
    // Fills the engine with `paragraphs` long paragraphs of running text.
    void makeFlow(int paragraphs);
    // Fills the engine with `pages` pages in large letters, separated by
    // page breaks: page i holds its number and i lines of text.
    void makePages(int pages);
    // The pages of a PDF file (pdfinfo), -1 when it cannot be read.
    static int pdfPages(const QString& file);
    // Page `page` of a PDF rendered at `dpi` (pdftoppm).
    static QImage pdfPage(const QString& file, int page, int dpi);
    // The engine's painter output for `page` at `dpi`, on white.
    QImage enginePage(int page, int dpi) const;
    // Share of 4 x 4 pixel cells whose mean grey differs by more than
    // `tolerance`; 1 when the sizes differ by more than a pixel.
    static double differing(const QImage& a, const QImage& b, int tolerance);
    // The share of non-white pixels.
    static double ink(const QImage& img);
    // Writes a settings file that prints to `pdf`.
    void storePdfSettings(const QString& file, const QString& pdf) const;

    QString dir;
    std::unique_ptr<ScriptedPrompter> prompter;
    std::unique_ptr<QWidget> mainWindow;
    TxEngine* tx = nullptr;
};

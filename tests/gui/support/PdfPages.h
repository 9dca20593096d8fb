#pragma once

#include <QByteArray>
#include <QImage>
#include <QRect>
#include <QString>
#include <QStringList>
#include <functional>
#include <optional>

namespace skerry::test {

// Runs a tool to its end; its standard output, or nothing when it failed.
std::optional<QByteArray> run(const QString& program, const QStringList& arguments);

// True when the poppler tools that read PDF files back (pdftoppm, pdfinfo) are installed.
bool havePdfTools();

// The number of pages of a PDF file as pdfinfo reads it; -1 when it cannot be read.
int pdfPageCount(const QString& pdf);

// Page 1 of a PDF file rendered at `dpi` dots per inch; a null image when it cannot be rendered.
QImage renderPdfPage(const QString& pdf, int dpi);

// The smallest rectangle holding every pixel for which `wanted` holds; empty when there is none.
QRect boundingBox(const QImage& image, const std::function<bool(const QColor&)>& wanted);

// How many pixels `wanted` holds for.
int countPixels(const QImage& image, const std::function<bool(const QColor&)>& wanted);

} // namespace skerry::test

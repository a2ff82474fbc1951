#include "appletpage.h"

#include "alphabet.h"
#include "cluespg.h"
#include "globals.h"
#include "layoutsettings.h"
#include "trv600.h"

namespace {

// The colour C of the page: the sample panel's colour as "RRGGBB".
QString pageColorDigits(const TPlayerPrefs &prefs) { return ColorToHtml(prefs.Color).mid(1); }

// The archives' folder P: beside the page, or the hosting service's applet folder.
QString archivePrefix(bool ownSite) { return ownSite ? QString() : QStringLiteral("/applet-bin/"); }

QString key(const char *name, const QString &value)
{
    return QLatin1String(name) + QLatin1Char('=') + PublishDataValue(value);
}

// Two characters per cell from the engine's cell code or letter.
QString cellValue(QChar c)
{
    switch (c.unicode()) {
    case TRV_BLOCK: return QStringLiteral("2 ");
    case TRV_EMPTY: return QStringLiteral("1 ");
    case TRV_EDGE:
    case TRV_REMOVED:
    case TRV_INVALID: // stale
        return QStringLiteral("0 ");
    default: return QStringLiteral("1") + c;
    }
}

} // namespace

QString PublishTitle(const TPublishInputs &inputs)
{
    return inputs.PlayMode ? QStringLiteral("Play-Puzzle") : inputs.Title;
}

QString PublishDataValue(const QString &text)
{
    QString s = text;
    for (QChar &c : s)
        if (c == QLatin1Char('\r') || c == QLatin1Char('\n'))
            c = QLatin1Char(' ');
    return s;
}

QString HtmlEscapeText(const QString &text)
{
    QString out;
    out.reserve(text.size());
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text.at(i);
        switch (c.unicode()) {
        case '&': out += QLatin1String("&amp;"); continue;
        case '<': out += QLatin1String("&lt;"); continue;
        case '>': out += QLatin1String("&gt;"); continue;
        case '"': out += QLatin1String("&quot;"); continue;
        case '\'': out += QLatin1String("&#39;"); continue;
        default: break;
        }
        if (c.unicode() >= 0x20 && c.unicode() < 0x7F) {
            out += c;
            continue;
        }
        char32_t code = c.unicode();
        if (c.isHighSurrogate() && i + 1 < text.size() && text.at(i + 1).isLowSurrogate()) {
            code = QChar::surrogateToUcs4(c, text.at(i + 1));
            ++i;
        } else if (c.isSurrogate()) {
            code = 0xFFFD; // a lone half of a pair
        }
        out += QLatin1String("&#") + QString::number(uint(code)) + QLatin1Char(';');
    }
    return out;
}

QStringList BuildPuzzleData(const TPublishInputs &inputs, const TPlayerPrefs &prefs)
{
    QStringList list;
    list << QStringLiteral("PuzzleType=Crossword");
    list << key("PuzzleTitle", PublishTitle(inputs));
    list << key("PuzzleDate", inputs.Date);
    list << key("PuzzleAuthor", inputs.Author);
    list << key("PuzzleCopyright", prefs.MessageBelow);
    list << key("PuzzleBackgroundColor", ColorToHtml(prefs.Color));
    list << key("GridBackgroundColor",
                ColorToHtml(RemovedCellColor == PageColor ? prefs.Color : RemovedCellColor));
    list << key("PuzzleTextColor", ColorToHtml(prefs.FontColor));
    list << key("PuzzleTextSize", prefs.PuzzleTextSize);
    list << key("CrosswordAllowCheck", BoolToText(prefs.ShowCheckBtn));
    list << key("CrosswordAllowRevealWord", BoolToText(prefs.ShowRevealWordBtn));
    list << key("CrosswordAllowRevealLetter", BoolToText(prefs.ShowRevealLetterBtn));
    list << key("CrosswordAllowSolve", BoolToText(prefs.ShowSolveBtn));
    list << key("CrosswordForceUpperCase", BoolToText(prefs.CapitalizeGrid));
    list << key("PuzzleUseTimer", BoolToText(prefs.DisplayTimer));
    if (prefs.PuzzleLayout == 1)
        list << QStringLiteral("PuzzleLayout=Center");
    else if (prefs.PuzzleLayout == 2)
        list << QStringLiteral("PuzzleLayout=Right");
    const int shadow = prefs.GridShadow >= 0 && prefs.GridShadow <= 10 ? prefs.GridShadow : 0;
    list << key("GridShadow", QString::number(shadow));
    list << key("GridWidth", QString::number(Columns));
    list << key("GridHeight", QString::number(Rows));
    QString values;
    values.reserve(2 * qsizetype(Columns) * Rows);
    for (int r = 1; r <= Rows; ++r)
        for (int c = 1; c <= Columns; ++c)
            values += cellValue(GetCellLetter(c, r));
    list << key("GridValues", values);
    if (CluesAcrossSG)
        for (int r = 1; r < CluesAcrossSG->RowCount(); ++r)
            list << key("CWA", StraightenQuotes(CluesAcrossSG->Cell(1, r)));
    if (CluesDownSG) {
        // The word bank, when it stands in the clues, ends the down grid with a blank row and its
        // "WordBank" row: those are no clues.
        int end = CluesDownSG->RowCount();
        if (end > 1 && CluesDownSG->Cell(0, end - 1) == QLatin1String("WordBank")) {
            --end;
            if (end > 1 && CluesDownSG->Cell(0, end - 1).isEmpty() && CluesDownSG->Cell(1, end - 1).isEmpty())
                --end;
        }
        for (int r = 1; r < end; ++r)
            list << key("CWD", StraightenQuotes(CluesDownSG->Cell(1, r)));
    }
    return list;
}

QStringList BuildAppletPage(const QString &dataFileName, bool ownSite, const TPublishInputs &inputs,
                            const TPlayerPrefs &prefs)
{
    const QString p = archivePrefix(ownSite);
    QStringList list;
    list << QStringLiteral("<html>");
    list << QStringLiteral("<head>");
    list << QStringLiteral("<title>") + HtmlEscapeText(PublishTitle(inputs)) + QStringLiteral("</title>");
    list << QStringLiteral("<meta name=\"generator\" content=\"Tarvel\">");
    list << QStringLiteral("<meta http-equiv=\"pragma\" content=\"no-cache\">");
    list << QStringLiteral("</head>");
    list << QStringLiteral("<body bgcolor=\"#") + pageColorDigits(prefs) + QStringLiteral("\">");
    list << QStringLiteral("<center>");
    list << QStringLiteral("<applet");
    list << QStringLiteral("  codebase = \".\"");
    list << QStringLiteral("  code     = \"Halvard.TarvelLive.PuzzleViewer.class\"");
    list << QStringLiteral("  name     = \"TarvelLiveApplet\"");
    list << QStringLiteral("  width    = \"") + HtmlEscapeText(prefs.AppletWidth) + QStringLiteral("\"");
    list << QStringLiteral("  height   = \"") + HtmlEscapeText(prefs.AppletHeight) + QStringLiteral("\"");
    list << QStringLiteral("  hspace   = \"0\"");
    list << QStringLiteral("  vspace   = \"0\"");
    list << QStringLiteral("  align    = \"middle\"");
    list << QStringLiteral("  archive = \"") + p + QStringLiteral("TarvelLive.zip\"");
    list << QStringLiteral("  archive = \"") + p + QStringLiteral("TarvelLive.jar\"");
    list << QStringLiteral(">");
    list << QStringLiteral("<param name=\"PuzzleFile\" value=\"") + HtmlEscapeText(UrlEncode(dataFileName)) +
                QStringLiteral("\">");
    list << QStringLiteral("Java must be enabled to use the <b>Tarvel Live</b> brand of on-screen "
                           "interactive crossword puzzle solving applet.");
    list << QStringLiteral("</applet>");
    if (DocControls.WordBankCB) {
        list << QStringLiteral("<table cellspacing=\"0\" cellpadding=\"0\" border=\"0\">");
        list << QStringLiteral("<tr>");
        list << QStringLiteral("<td width=\"10%\">&nbsp;</td>");
        list << QStringLiteral("<td width=\"80%\">");
        list << QStringLiteral("<br><center><B>") + HtmlEscapeText(WordBankHeader) +
                    QStringLiteral("</B></center><br>");
        list << HtmlEscapeText(BuildWordBankText());
        list << QStringLiteral("</td>");
        list << QStringLiteral("<td width=\"10%\">&nbsp;</td>");
        list << QStringLiteral("</table>");
    }
    list << QStringLiteral("<p><font size=\"1\">Tarvel Live interactive crossword</font></p>");
    list << QStringLiteral("</center>");
    list << QStringLiteral("</body>");
    list << QStringLiteral("</html>");
    return list;
}

QStringList BuildPageFields(const QString &dataFileName, bool ownSite, const TPublishInputs &inputs,
                            const TPlayerPrefs &prefs)
{
    QStringList list;
    list << key("PageTitle", PublishTitle(inputs));
    list << key("PageBGColor", QLatin1Char('#') + pageColorDigits(prefs));
    if (!ownSite)
        list << QStringLiteral("WhoHostse=WeHost");
    list << key("AppletWidth", prefs.AppletWidth);
    list << key("AppletHeight", prefs.AppletHeight);
    list << key("PuzzleFileName", dataFileName);
    return list;
}

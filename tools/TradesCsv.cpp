#include "tools/TradesCsv.h"

#include "bars/Turns.h"
#include "bars/WatchRow.h"
#include "tools/CsvField.h"

namespace quillon {

namespace {

// ",LINE,DATE,TIME,CLOSE" of the record's bar: the stored line record.firstLine + bar.
void AppendBar(std::string& out, const TRun& run, const TRecord& record, int bar) {
    const int stored = record.firstLine + bar;
    const TBarStamp stamp = BarStampOf(run.StoredLine(stored));
    out += ',';
    out += std::to_string(run.FileLineOfStored(stored));
    for (const std::string* field : {&stamp.date, &stamp.time, &stamp.close}) {
        out += ',';
        AppendCsvField(out, *field);
    }
}

void AppendTrades(std::string& out, const TRun& run, const TRecord& record) {
    for (const TTrade& trade : record.trades) {
        out += RecordKindName(record.kind);
        out += ',';
        out += MarkText(trade.direction);
        AppendBar(out, run, record, trade.openedBar);
        if (trade.closedBar) {
            AppendBar(out, run, record, *trade.closedBar);
        } else {
            out += ",,,,";
        }
        out += ',';
        out += std::to_string(trade.points);
        out += '\n';
    }
}

} // namespace

std::string TradesCsv(const TRun& run, const TTrackRecords& records) {
    std::string out(TradesCsvHeader);
    AppendTrades(out, run, records.chart);
    AppendTrades(out, run, records.atClose);
    if (records.wholeFile) {
        AppendTrades(out, run, *records.wholeFile);
    }
    return out;
}

} // namespace quillon

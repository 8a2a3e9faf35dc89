// An appender that writes formatted events through a writer.
#pragma once
#include "TAppenderUnit.h"
#include "TPrintWriterUnit.h"

class TWriterAppender : public TAppender {
public:
    using TAppender::TAppender;
    bool RequiresLayout() const override { return true; }

protected:
    void Append(const TLoggingEvent& AEvent) override;

    std::unique_ptr<TPrintWriter> FWriter;  // present while an output stream is open

private:
    std::wstring FRecord;  // the formatted event, reused from record to record
};

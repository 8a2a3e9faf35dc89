// The appender interface and its base class. Appenders are shared by reference:
// an appender lives as long as some logger (or the configurator) holds it.
#pragma once
#include "TLayoutUnit.h"
#include <memory>
#include <string>

class IAppender {
public:
    virtual ~IAppender() = default;
    virtual void DoAppend(const TLoggingEvent& AEvent) = 0;
    virtual std::wstring GetName() const = 0;
    virtual TLayout* GetLayout() const = 0;
    virtual void SetName(const std::wstring& AName) = 0;
    virtual void SetLayout(std::unique_ptr<TLayout> ALayout) = 0;
    virtual bool RequiresLayout() const = 0;
};

using TAppenderRef = std::shared_ptr<IAppender>;

class TAppender : public IAppender {
public:
    explicit TAppender(const std::wstring& AClassName) : FName(AClassName) {}
    TAppender(const TAppender&) = delete;
    TAppender& operator=(const TAppender&) = delete;

    // Drops the event while closed, or when a layout is required but none was given.
    void DoAppend(const TLoggingEvent& AEvent) override;
    std::wstring GetName() const override { return FName; }
    TLayout* GetLayout() const override { return FLayout.get(); }
    void SetName(const std::wstring& AName) override;
    void SetLayout(std::unique_ptr<TLayout> ALayout) override;
    bool RequiresLayout() const override { return false; }
    bool IsClosed() const { return FClosed; }

protected:
    virtual void Append(const TLoggingEvent& AEvent) = 0;

    std::unique_ptr<TLayout> FLayout;
    std::wstring FName;
    bool FClosed = true;
};

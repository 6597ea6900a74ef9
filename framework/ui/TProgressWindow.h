#pragma once
#include <QString>

// A window that tells the user that long work is under way: a caption, no
// buttons, nothing to cancel.
class TProgressWindow {
public:
    virtual ~TProgressWindow() = default;
    virtual void SetCaption(const QString& caption) = 0;
    virtual void Show() = 0;
    virtual void Hide() = 0;
    virtual void Close() = 0;
};

// Shows a progress window for its lifetime: hidden and closed again also when
// the work in between raises.
class TProgressShown {
public:
    TProgressShown(TProgressWindow* window, const QString& caption) : window_(window)
    {
        if (!window_)
            return;
        window_->SetCaption(caption);
        window_->Show();
    }
    ~TProgressShown()
    {
        if (!window_)
            return;
        window_->Hide();
        window_->Close();
    }
    TProgressShown(const TProgressShown&) = delete;
    TProgressShown& operator=(const TProgressShown&) = delete;

private:
    TProgressWindow* window_;
};

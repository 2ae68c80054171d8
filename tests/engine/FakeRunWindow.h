#pragma once

#include "engine/ShredRunWindow.h"

#include <QHash>
#include <QSet>
#include <QStringList>

#include <functional>

struct RunItem
{
    QString path;
    QString key;
    bool checked = true;
};

// The main window as the run sees it: an in-memory list, captions, and the warnings it asked for.
class FakeRunWindow : public ShredRunWindow
{
public:
    QList<RunItem> items;
    QHash<Caption, QString> captions{{Caption::lblstatus, RunCaption::Stopped},
                                     {Caption::lblstatus2, RunCaption::Done}};
    QSet<RunControl> shown{RunControl::btnYes, RunControl::btnNo, RunControl::btnShow,
                           RunControl::btnOptions};
    QHash<RunTimer, int> timers;
    QStringList calls;
    bool modifyAnswer = false;
    std::function<void()> onYield = [] {};

    QString caption(Caption label) const override { return captions.value(label); }
    void setCaption(Caption label, const QString& text) override { captions[label] = text; }
    void setBarVisible(Bar, bool) override {}
    void setBarMax(Bar, qint64) override {}
    void setBarValue(Bar, qint64) override {}
    bool expandVisible() const override { return false; }
    void yield() override { onYield(); }
    int ListCount() const override { return int(items.size()); }
    QString ListText(int i) const override { return items[i].path; }
    QString ListSubItem(int i, int column) const override
    {
        return column == 1 ? items[i].key : items[i].path.section(QLatin1Char('/'), -1);
    }
    bool ListChecked(int i) const override { return items[i].checked; }
    void RemoveListItem(int i) override { items.removeAt(i); }
    qint16 ItemCount() const override { return qint16(m_count); }
    void SetScroll() override {}
    void FixDups() override { m_count = int(items.size()); }
    void ClearAll(bool hide) override
    {
        items.clear();
        calls << QStringLiteral("ClearAll(%1)").arg(QLatin1String(hide ? "true" : "false"));
    }
    bool ControlVisible(RunControl c) const override { return shown.contains(c); }
    void SetControlVisible(RunControl c, bool visible) override
    {
        visible ? void(shown.insert(c)) : void(shown.remove(c));
    }
    void SetShredColor(quint32) override {}
    void SetShredTip(const QString& text) override { calls << QStringLiteral("tip ") + text; }
    int TimerInterval(RunTimer t) const override { return timers.value(t); }
    void SetTimerInterval(RunTimer t, int ms) override { timers[t] = ms; }
    void ShrinkToHiddenSize() override { calls << QStringLiteral("shrink"); }
    void HideList() override { shown.insert(RunControl::btnShow); }
    bool DoNotShredWarning() override
    {
        calls << QStringLiteral("DoNotShredWarning");
        return modifyAnswer;
    }
    void LockedFilesWarning() override { calls << QStringLiteral("LockedFilesWarning"); }
    void CopyOnWriteWarning() override { calls << QStringLiteral("CopyOnWriteWarning"); }

    void add(const QStringList& paths, const QString& key = QStringLiteral("0/X"))
    {
        for (const QString& path : paths)
            items.append({path, key});
        m_count = int(items.size());
    }

private:
    int m_count = 0;
};

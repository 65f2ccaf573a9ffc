#pragma once

#include "ports/ITrayShell.h"

#include <QList>

// Records every call; each operation answers with the matching `accept...` flag.
class FakeTrayShell : public ITrayShell {
public:
    enum class Op { Add, Modify, Remove };
    struct Call {
        Op op;
        TrayRecord record;
    };

    bool add(const TrayRecord& record) override;
    bool modify(const TrayRecord& record) override;
    bool remove(const TrayRecord& record) override;
    void setCallback(Callback handler) override;

    void send(int id, Mouse message, QPoint cursor = {}) const;
    void click(int id = 0) const { send(id, Mouse::LeftUp); }
    int count(Op op) const;

    QList<Call> calls;
    Callback callback;
    bool acceptAdd = true;
    bool acceptModify = true;
    bool acceptRemove = true;

private:
    bool record_(Op op, const TrayRecord& record, bool answer);
};

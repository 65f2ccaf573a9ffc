#pragma once

#include "platform/ITrayShell.h"

#include <QList>

// Records every call; each operation answers with the matching `accept...` flag.
class FakeTrayShell : public ITrayShell {
public:
    enum class Op { Add, Modify, Remove };
    struct Call {
        Op op;
        TrayRecord record;
    };

    bool add(const TrayRecord& record) override { return record_(Op::Add, record, acceptAdd); }
    bool modify(const TrayRecord& record) override
    {
        return record_(Op::Modify, record, acceptModify);
    }
    bool remove(const TrayRecord& record) override
    {
        return record_(Op::Remove, record, acceptRemove);
    }
    void setCallback(Callback callback) override { this->callback = std::move(callback); }

    void send(int id, Mouse message, QPoint cursor = {}) const
    {
        if (callback)
            callback(id, message, cursor);
    }
    int count(Op op) const
    {
        int n = 0;
        for (const Call& c : calls)
            n += c.op == op;
        return n;
    }

    QList<Call> calls;
    Callback callback;
    bool acceptAdd = true;
    bool acceptModify = true;
    bool acceptRemove = true;

private:
    bool record_(Op op, const TrayRecord& record, bool answer)
    {
        calls.append({op, record});
        return answer;
    }
};

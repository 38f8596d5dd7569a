#pragma once

#include "core/import/ImportCandidate.h"
#include "core/import/ImportFilter.h"
#include "core/import/ImportPreCheck.h"
#include "core/import/ImportScan.h"

#include <QAbstractTableModel>
#include <QCoreApplication>

#include <vector>

// The scan's candidates, of which the table shows those the filter lets through.
class ImportModel : public QAbstractTableModel {
public:
    enum Column { NameColumn, FileColumn, TypeColumn, KindColumn, NoteColumn, ColumnCount };

    using QAbstractTableModel::QAbstractTableModel;

    // What the emulator's list holds decides which rows start checked.
    void setListedExtensions(QSet<QString> extensions) { extensions_ = std::move(extensions); }
    void setCandidates(std::vector<ImportCandidate> candidates)
    {
        rows_.clear();
        rows_.reserve(candidates.size());
        for (ImportCandidate &candidate : candidates) {
            const bool checked = ImportPreChecked(candidate, extensions_);
            rows_.push_back({std::move(candidate), checked});
        }
        refilter();
    }
    // Fills in the archives read since; the rows keep their places until finishReads().
    void applyReads(const ImportReads &reads)
    {
        size_t first = rows_.size(), last = 0;
        for (const ImportArchiveRead &read : reads) {
            Row &row = rows_[read.index];
            row.candidate = read.candidate;
            row.checked = ImportPreChecked(row.candidate, extensions_);
            row.gone = read.dropped;
            const auto shown = std::lower_bound(shown_.begin(), shown_.end(), int(read.index));
            if (shown == shown_.end() || *shown != int(read.index))
                continue;
            if (row.gone) {
                const int at = int(shown - shown_.begin());
                beginRemoveRows({}, at, at);
                shown_.erase(shown);
                endRemoveRows();
            } else {
                first = std::min(first, read.index);
                last = std::max(last, read.index);
            }
        }
        if (first > last)
            return;
        const auto row = [this](size_t index) {
            return int(std::lower_bound(shown_.begin(), shown_.end(), int(index)) - shown_.begin());
        };
        emit dataChanged(index(row(first), 0), index(row(last), ColumnCount - 1));
    }
    // Every archive is read: the rows in their final order.
    void finishReads()
    {
        std::erase_if(rows_, [](const Row &row) { return row.gone; });
        SortReadRows(rows_,
                     [](const Row &row) -> const ImportCandidate & { return row.candidate; });
        refilter();
    }
    size_t candidateCount() const { return rows_.size(); }
    size_t greyedCount() const
    {
        return size_t(std::count_if(rows_.begin(), rows_.end(), [](const Row &row) {
            return !row.candidate.problem.isEmpty();
        }));
    }
    void setFilter(const QString &patterns)
    {
        filter_ = ImportFilter(patterns);
        refilter();
    }
    void setType(const QString &type)
    {
        type_ = type;
        if (!shown_.empty())
            emit dataChanged(index(0, TypeColumn), index(rowCount() - 1, TypeColumn));
    }
    // The rows shown, checked and listable.
    std::vector<ImportCandidate> checkedRows() const
    {
        std::vector<ImportCandidate> checked;
        for (const int row : shown_) {
            if (rows_[size_t(row)].checked)
                checked.push_back(rows_[size_t(row)].candidate);
        }
        return checked;
    }
    // All but those whose File is in `kept`.
    void removeCheckedRows(const QStringList &kept = {})
    {
        for (const int row : shown_) {
            Row &shown = rows_[size_t(row)];
            shown.gone = shown.checked && !kept.contains(shown.candidate.file);
        }
        std::erase_if(rows_, [](const Row &row) { return row.gone; });
        refilter();
    }
    int rowCount(const QModelIndex &parent = {}) const override
    {
        return parent.isValid() ? 0 : int(shown_.size());
    }
    int columnCount(const QModelIndex &parent = {}) const override
    {
        return parent.isValid() ? 0 : ColumnCount;
    }
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override
    {
        static const char *const titles[] = {
            QT_TRANSLATE_NOOP("ImportFrm", "Name"), QT_TRANSLATE_NOOP("ImportFrm", "File"),
            QT_TRANSLATE_NOOP("ImportFrm", "Type"), QT_TRANSLATE_NOOP("ImportFrm", "Kind"),
            QT_TRANSLATE_NOOP("ImportFrm", "Note")};
        if (orientation == Qt::Horizontal && role == Qt::DisplayRole && section >= 0 &&
            section < ColumnCount)
            return QCoreApplication::translate("ImportFrm", titles[section]);
        return {};
    }
    QVariant data(const QModelIndex &index, int role) const override
    {
        const Row &row = rows_[size_t(shown_[size_t(index.row())])];
        const ImportCandidate &candidate = row.candidate;
        const bool listable = candidate.problem.isEmpty() && !candidate.pending;
        if (role == Qt::CheckStateRole && index.column() == NameColumn && listable)
            return row.checked ? Qt::Checked : Qt::Unchecked;
        if (role == Qt::ToolTipRole && index.column() == NoteColumn)
            return candidate.note();
        if (role != Qt::DisplayRole && role != Qt::EditRole)
            return {};
        switch (index.column()) {
        case NameColumn:
            return candidate.name;
        case FileColumn:
            return candidate.file;
        case TypeColumn:
            return row.checked ? type_ : QString();
        case KindColumn:
            return KindText(candidate);
        default:
            return candidate.note();
        }
    }
    bool setData(const QModelIndex &index, const QVariant &value, int role) override
    {
        Row &row = rows_[size_t(shown_[size_t(index.row())])];
        if (role == Qt::CheckStateRole && index.column() == NameColumn) {
            row.checked = value.toInt() == Qt::Checked;
            emit dataChanged(index, index.siblingAtColumn(TypeColumn));
            return true;
        }
        if (role == Qt::EditRole && index.column() == NameColumn) {
            row.candidate.name = value.toString();
            emit dataChanged(index, index);
            return true;
        }
        return false;
    }
    Qt::ItemFlags flags(const QModelIndex &index) const override
    {
        const ImportCandidate &candidate = rows_[size_t(shown_[size_t(index.row())])].candidate;
        if (!candidate.problem.isEmpty() || candidate.pending)
            return Qt::NoItemFlags; // greyed: the note says why
        if (index.column() == NameColumn)
            return Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsUserCheckable |
                   Qt::ItemIsEditable;
        return Qt::ItemIsEnabled | Qt::ItemIsSelectable;
    }

private:
    struct Row {
        ImportCandidate candidate;
        bool checked = false;
        bool gone = false;
    };
    void refilter()
    {
        beginResetModel();
        shown_.clear();
        for (int row = 0; row < int(rows_.size()); ++row) {
            if (!rows_[size_t(row)].gone && filter_.matches(rows_[size_t(row)].candidate.entry))
                shown_.push_back(row);
        }
        endResetModel();
    }

    std::vector<Row> rows_;
    std::vector<int> shown_; // indexes into rows_
    ImportFilter filter_;
    QSet<QString> extensions_;
    QString type_ = QStringLiteral("Other");
};
